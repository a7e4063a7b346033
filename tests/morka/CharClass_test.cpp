// Classes and case of the active set, the wildcard matcher, the language
// code, file-name symbols and the channel conversions.
#include <morka/morka.h>

#include <cstdlib>
#include <gtest/gtest.h>

#include "../CharsetGuard.h"

using namespace morka;


TEST(CharClass, ClassesAndCaseOfBothSets) {
    // flags: a alpha, d digit, l lower, u upper, s space, p print, y symbol.
    struct { char const* id; int iCharset; int c; char const* pszFlags; int iUpper; int iLower; } const aCases[] = {
        {"z-A", 256, 'A', "aup", 'A', 'a'},         {"z-z", 256, 'z', "alp", 'Z', 'z'},
        {"z-7", 256, '7', "dp", '7', '7'},          {"z-space", 256, ' ', "sp", ' ', ' '},
        {"z-tab", 256, '\t', "s", '\t', '\t'},      {"z-comma", 256, ',', "py", ',', ','},
        {"z-del", 256, 127, "", 127, 127},          {"z-A-uml", 256, 192, "aup", 192, 193},
        {"z-a-uml", 256, 193, "alp", 192, 193},     {"z-a-grave", 256, 195, "alp", 195, 195},
        {"z-E-acute", 256, 197, "aup", 197, 201},   {"z-e-acute", 256, 201, "alp", 197, 201},
        {"z-sharp-s", 256, 224, "alp", 224, 224},   {"z-y-uml", 256, 234, "alp", 234, 234},
        {"z-ulc", 256, 160, "py", 160, 160},        {"z-euro", 256, 231, "py", 231, 231},
        {"z-free-128", 256, 128, "", 128, 128},     {"z-free-240", 256, 240, "", 240, 240},
        {"m-A-grave", 512, 128, "aup", 128, 195},   {"m-a-grave", 512, 195, "alp", 128, 195},
        {"m-y-uml", 512, 234, "alp", 190, 234},     {"m-S-caron", 512, 158, "aup", 158, 159},
        {"m-OE", 512, 189, "alp", 188, 189},        {"m-ordinal", 512, 191, "ap", 191, 191},
        {"m-times", 512, 144, "py", 144, 144},      {"m-nbsp", 512, 255, "sp", 255, 255},
        {"m-quote", 512, 253, "py", 253, 253},      {"m-dvert", 512, 185, "py", 185, 185},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        CCharsetGuard guard(c.iCharset);
        std::string f = c.pszFlags;
        auto has = [&](char k) { return f.find(k) != std::string::npos; };
        EXPECT_EQ(t_isalpha(c.c), has('a'));
        EXPECT_EQ(t_isdigit(c.c), has('d'));
        EXPECT_EQ(t_isalnum(c.c), has('a') || has('d'));
        EXPECT_EQ(t_islower(c.c), has('l'));
        EXPECT_EQ(t_isupper(c.c), has('u'));
        EXPECT_EQ(t_isspace(c.c), has('s'));
        EXPECT_EQ(t_isprint(c.c), has('p'));
        EXPECT_EQ(t_issymbol(c.c), has('y'));
        EXPECT_EQ(t_toupper(c.c), c.iUpper);
        EXPECT_EQ(t_tolower(c.c), c.iLower);
    }
    EXPECT_FALSE(t_isprint(-1));
    EXPECT_EQ(t_toupper(-1), -1);
}

TEST(CharClass, StringCaseFollowsTheActiveSet) {
    CCharsetGuard guard(256);
    char sz[] = "\xC9t\xC9 \xC3 ok";
    EXPECT_STREQ(t_strupr(sz), "\xC5T\xC5 \xC3 OK");   // é -> É, à has no capital in Zezir
    EXPECT_STREQ(t_strlwr(sz), "\xC9t\xC9 \xC3 ok");
    EXPECT_EQ(t_strupr(nullptr), nullptr);
    Morka.iCharset = 512;
    CBString s("\xC3\0x", 3);
    EXPECT_EQ(t_strupr(s).str(), std::string("\x80\0X", 3));   // à -> À in MORKA, NUL kept
}

TEST(StrMatch, Patterns) {
    struct { char const* id; char const* pszText; char const* pszPattern; bool bMatch; } const aCases[] = {
        {"literal", "abc", "abc", true},         {"literal-case", "abc", "ABC", false},
        {"star-empty", "", "*", true},           {"star-tail", "report.dat", "report*", true},
        {"star-middle", "report.dat", "r*.dat", true}, {"star-none", "report.dat", "*.old", false},
        {"q-one", "ab", "a?", true},             {"q-not-zero", "a", "a?", false},
        {"longer-spelling", "BELL", "BEL*?", true}, {"exact-not-longer", "BEL", "BEL*?", false},
        {"period-end", "DVERT", "DVER*.", false}, {"period-end-yes", "DVER.", "DVER*.", true},
        {"set", "b", "[abc]", true},             {"set-range", "m", "[a-z]", true},
        {"set-neg", "m", "[!a-z]", false},       {"set-caret", "5", "[^a-z]", true},
        {"set-bracket", "]", "[]]", true},       {"set-literal-star", "*", "[*]", true},
        {"set-literal-star-no", "x", "[*]", false}, {"unclosed", "[a", "[a", true},
        {"unclosed-no", "a", "[a", false},       {"backtrack", "aaab", "*a*b", true},
        {"backtrack-fail", "aaaa", "*a*b", false}, {"empty-pattern", "x", "", false},
        {"empty-both", "", "", true},            {"high-bytes", "\xC9t\xE9", "?t[\xE0-\xEF]", true},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(strmatch(c.pszText, c.pszPattern), c.bMatch);
        EXPECT_EQ(strmatch(CBString(c.pszText), CBString(c.pszPattern)), c.bMatch);
    }
    EXPECT_TRUE(strmatch(nullptr, "*"));
    EXPECT_FALSE(strmatch("a", nullptr));
    EXPECT_TRUE(strmatch(CBString("a\0b", 3), CBString("a?b")));
    // A pathological pattern still ends quickly (bounded by text x pattern).
    std::string sText(4000, 'a'), sPattern;
    for (int i = 0; i < 200; ++i) sPattern += "*a";
    EXPECT_FALSE(strmatch(sText + "c", sPattern + "b"));
}

TEST(Lang, FromBLangOrTheLocale) {
    struct { char const* id; char const* pszBLang; char const* pszLang; int iExpected; } const aCases[] = {
        {"code", "2", "en_US.UTF-8", 2},   {"code-zero", "0", "fr_FR", 0},
        {"name", "French", "C", 2},        {"name-de", "deutsch", "C", 3},
        {"bad-b_lang", "xx", "fr_FR.UTF-8", 2}, {"locale-c", nullptr, "C", 1},
        {"locale-de", nullptr, "de_DE", 3}, {"none", nullptr, nullptr, 1},
        {"code-out-of-range", "7", "C", 1},
    };
    char const* pszOldLang = std::getenv("LANG");
    std::string sOldLang = pszOldLang ? pszOldLang : "";
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        if (c.pszBLang) setenv("b_lang", c.pszBLang, 1); else unsetenv("b_lang");
        if (c.pszLang) setenv("LANG", c.pszLang, 1); else unsetenv("LANG");
        EXPECT_EQ(getlang(), c.iExpected);
    }
    unsetenv("b_lang");
    if (pszOldLang) setenv("LANG", sOldLang.c_str(), 1); else unsetenv("LANG");
}

TEST(FnSym, SymbolsInFileNameParts) {
    setenv("VELBRA_TEST_LIB", "/srv/acct", 1);
    unsetenv("VELBRA_TEST_UNSET");
    struct { char const* id; char const* pszPart; char const* pszExpected; } const aCases[] = {
        {"plain", "report", "report"},           {"symbol", "$VELBRA_TEST_LIB", "/srv/acct"},
        {"unset", "$VELBRA_TEST_UNSET", "$VELBRA_TEST_UNSET"}, {"dollar-alone", "$", "$"},
        {"not-a-name", "$A.B", "$A.B"},           {"wildcards", "re*?", "re*?"},
        {"placeholder", "==", "=="},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(t_strfnsym(c.pszPart).str(), c.pszExpected);
        EXPECT_EQ(t_strsrcfnsym(c.pszPart).str(), c.pszExpected);
        EXPECT_EQ(t_strdstfnsym(c.pszPart).str(), c.pszExpected);
    }
    EXPECT_EQ(t_strfnsym(nullptr).str(), "");
    unsetenv("VELBRA_TEST_LIB");
}

TEST(ChannelCharset, WhichChannelsConvert) {
    CCharsetGuard guard(256);
    QXFILE text, keyed, wide, printer;
    text.eOrg = ORG_TEXT;
    keyed.eOrg = ORG_KEYED;
    wide.eOrg = ORG_SEQUENTIAL;
    wide.uFlags = 1u << 26;
    printer.eDevType = DEV_PRINTER;
    // é (Zezir 201) is E9 in ISO 8859-15; the double vertical line (185) has
    // no code there and travels in the free range.
    CBString s("\xC9|\xB9", 3);
    EXPECT_EQ(t_strconvout(&text, s).str(), std::string("\xE9|") + static_cast<char>(t_chrsys2ext(185)));
    EXPECT_EQ(t_strconvin(&text, t_strconvout(&text, s), true).str(), s.str());
    EXPECT_EQ(t_strconvout(&printer, s).str(), t_strconvout(&text, s).str());
    EXPECT_EQ(t_strconvout(&keyed, s).str(), s.str());
    EXPECT_TRUE(t_IsInternalCharset(&keyed));
    EXPECT_FALSE(t_IsInternalCharset(&text));
    EXPECT_EQ(t_chrconvout(&text, 0xC9), 0xE9);
    EXPECT_EQ(t_chrconvin(&text, 0xE9), 0xC9);
    EXPECT_EQ(t_chrconvin(&text, -1), -1);
    EXPECT_EQ(t_chrconvout(&keyed, 0x1C9), 0xC9);
    // A wide channel reads Unicode characters; its output stays bytes.
    EXPECT_EQ(t_chrconvin(&wide, 0x2551), 185);
    EXPECT_EQ(t_chrconvin(&wide, 0xE9), 0xC9);
    EXPECT_EQ(t_chrconvin(&wide, 0x4E2D), '?');
    EXPECT_EQ(t_chrconvout(&wide, 0xC9), 0xE9);
    EXPECT_EQ(t_chrconvout(&wide, 185), t_chrsys2ext(185));
    EXPECT_EQ(t_strconvout(&wide, s).str(), t_strconvout(&text, s).str());
    // Any other iCharset keeps bytes on every channel.
    Morka.iCharset = 0;
    EXPECT_EQ(t_strconvout(&text, s).str(), s.str());
    EXPECT_EQ(t_chrconvin(&wide, 0xE9), 0xE9);
    EXPECT_EQ(t_strconvout(nullptr, s).str(), s.str());
}
