// Positional, filling, trimming, construction, search and class functions.
#include <velbra.h>

#include <gtest/gtest.h>
#include <string>

using namespace morka;

TEST(FuncStr, Positional) {
    struct {
        char const* pszId;
        CBString sResult;
        char const* pszExpected;
    } const aCases[] = {
        {"left-1", Left("abcdef", 3), "abc"},     {"left-2", Left("abc", 0), ""},
        {"left-3", Left("abc", -4), ""},          {"left-4", Left("abc", 9), "abc"},
        {"mid-1", Mid("abcdef", 0, 3), "abc"},    {"mid-2", Mid("abcdef", -5, 3), "abc"},
        {"mid-3", Mid("abcdef", 5, 9), "ef"},     {"mid-4", Mid("abcdef", 7, 1), ""},
        {"mid-5", Mid("abcdef", 2, 0), ""},       {"mid-6", Mid("abcdef", 6, 1), "f"},
        {"right-1", Right("abcdef", 3), "cdef"},  {"right-2", Right("abc", 0), "abc"},
        {"right-3", Right("abc", 4), ""},         {"right-4", Right("abc", 3), "c"},
        {"ovr-1", Ovr("abc", 5, 2, "xyz"), "abc xy"},   {"ovr-2", Ovr("abcdef", 2, 3, "x"), "ax  ef"},
        {"ovr-3", Ovr("abc", 0, 1, "x"), "xbc"},        {"ovr-4", Ovr("abc", 3, 3, "xyz"), "abxyz"},
        {"ovr-5", Ovr("abc", 2, -1, "x"), "abc"},       {"ovr-6", Ovr("", 1, 2, ""), "  "},
        {"lpad-1", Lpad("ab", 5), "   ab"},      {"lpad-2", Lpad("abcdef", 3), "abcdef"},
        {"rpad-1", Rpad("ab", 4), "ab  "},       {"cpad-1", Cpad("ab", 5), " ab  "},
        {"cpad-2", Cpad("ab", 6), "  ab  "},     {"cpad-3", Cpad("abc", -1), "abc"},
        {"trim-1", Trim("  a   b  "), "a b"},    {"trim-2", Trim("   "), ""},
        {"trim-3", Trim("a\t\tb"), "a\t\tb"},    {"ltrim-1", Ltrim("\t a "), "\t a "},
        {"ltrim-2", Ltrim("  a "), "a "},        {"rtrim-1", Rtrim(" a \t"), " a \t"},
        {"rtrim-2", Rtrim(" a  "), " a"},        {"space-1", Space(3), "   "},
        {"space-2", Space(-2), ""},              {"rpt-1", Rpt(3, "ab"), "ababab"},
        {"rpt-2", Rpt(0, "ab"), ""},             {"rpt-3", Rpt(-1, "ab"), ""},
        {"ucase-1", Ucase("aBc1"), "ABC1"},      {"lcase-1", Lcase("AbC1"), "abc1"},
        {"replace-1", Replace("aaa", "aa", "b"), "ba"},   {"replace-2", Replace("abcabc", "b", "bb"), "abbcabbc"},
        {"replace-3", Replace("abc", "", "x"), "abc"},    {"replace-4", Replace("abc", "abc", ""), ""},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(c.sResult, CBString(c.pszExpected));
    }
}

// Both forms of every string argument give the same result.
TEST(FuncStr, OverloadsAgree) {
    CBString s("abcabc"), f("bc"), w("X");
    EXPECT_EQ(Replace(s, f, w), Replace("abcabc", "bc", "X"));
    EXPECT_EQ(Replace(s, "bc", w), CBString("aXaX"));
    EXPECT_EQ(Replace("abcabc", f, "X"), CBString("aXaX"));
    EXPECT_EQ(Sch(1, s, f), Sch(1, "abcabc", "bc"));
    EXPECT_EQ(Rsch(0, s, "bc"), 5);
    EXPECT_EQ(Ovr(s, 1, 1, w), Ovr("abcabc", 1, 1, "X"));
    EXPECT_EQ(Trim(CBString("  a  b ")), Trim("  a  b "));
    EXPECT_EQ(Mid(s, 2, 2), CBString("bc"));
    char const* pszNull = nullptr;
    EXPECT_EQ(Left(pszNull, 3), CBString());
    EXPECT_EQ(Isdigit(pszNull), 0);
}

TEST(FuncStr, Construction) {
    EXPECT_EQ(Chr(65), CBString("A"));
    EXPECT_EQ(Chr(0).length(), 1);
    EXPECT_EQ(Chr(0)[0], '\0');
    EXPECT_EQ(Chr(0x141), CBString("A"));
    CBString sAt = At(1, 2);
    ASSERT_EQ(sAt.length(), 3);
    EXPECT_EQ(sAt[0], 16);
    EXPECT_EQ(sAt[1], 32);
    EXPECT_EQ(sAt[2], 33);
    EXPECT_EQ(Cls(), CBString("\f"));
    // Rpt keeps embedded NUL bytes.
    EXPECT_EQ(Rpt(2, CBString(std::string("a\0", 2))).length(), 4);
}

TEST(FuncStr, Search) {
    struct {
        char const* pszId;
        int iResult;
        int iExpected;
    } const aCases[] = {
        {"sch-1", Sch(4, "abc", "bc"), 0},      {"sch-2", Sch(0, "abcabc", "ca"), 3},
        {"sch-3", Sch(3, "abcabc", "bc"), 5},   {"sch-4", Sch(-7, "abc", "a"), 1},
        {"sch-5", Sch(1, "abc", "x"), 0},       {"sch-6", Sch(2, "abc", ""), 2},
        {"sch-7", Sch(1, "", ""), 0},           {"sch-8", Sch(3, "abc", "c"), 3},
        {"rsch-1", Rsch(0, "abcabc", "a"), 4},  {"rsch-2", Rsch(3, "abcabc", "a"), 1},
        {"rsch-3", Rsch(99, "abcabc", "bc"), 5}, {"rsch-4", Rsch(4, "abcabc", "bc"), 2},
        {"rsch-5", Rsch(1, "abc", "x"), 0},     {"rsch-6", Rsch(0, "", "a"), 0},
        {"rsch-7", Rsch(2, "abc", ""), 2},      {"rsch-8", Rsch(5, "abcabc", "bc"), 5},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(c.iResult, c.iExpected);
    }
}

TEST(FuncStr, MatchAndClasses) {
    EXPECT_EQ(Match("hello", "h*o"), -1);
    EXPECT_EQ(Match("hello", "h?llo"), -1);
    EXPECT_EQ(Match("hello", "h*x"), 0);
    EXPECT_EQ(Match("", "*"), -1);
    EXPECT_EQ(Match("abc", ""), 0);
    EXPECT_EQ(Match("b7", "[a-c][!a-z]"), -1);
    EXPECT_EQ(Match(CBString(std::string("a\0b", 3)), "a?b"), -1) << "binary-safe";
    struct {
        char const* pszId;
        int (*pfn)(char const*);
        char const* pszText;
        int iExpected;
    } const aCases[] = {
        {"digit-1", Isdigit, "7x", -1}, {"digit-2", Isdigit, "x7", 0}, {"digit-3", Isdigit, "", 0},
        {"alpha-1", Isalpha, "q1", -1}, {"alpha-2", Isalpha, "1q", 0}, {"alnum-1", Isalnum, "1", -1},
        {"alnum-2", Isalnum, "-", 0},   {"lower-1", Islower, "a", -1}, {"lower-2", Islower, "A", 0},
        {"upper-1", Isupper, "A", -1},  {"upper-2", Isupper, "a", 0},  {"space-1", Isspace, "\tx", -1},
        {"space-2", Isspace, "x ", 0},  {"print-1", Isprint, " ", -1}, {"print-2", Isprint, "\x01", 0},
        {"symbol-1", Issymbol, "#", -1}, {"symbol-2", Issymbol, "a", 0}, {"symbol-3", Issymbol, " ", 0},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(c.pfn(c.pszText), c.iExpected);
    }
    EXPECT_EQ(Isdigit(CBString()), 0);
    EXPECT_EQ(Isdigit(CBString("7")), -1);
}

// Case and classes follow the active character set, accented letters
// included, in both system sets.
TEST(FuncStr, CaseAndClassesOfTheActiveSet) {
    int const iSaved = Morka.iCharset;
    for (int iCharset : {256, 512}) {
        SCOPED_TRACE(iCharset);
        Morka.iCharset = iCharset;
        int nAccented = 0;
        for (int c = 1; c < 256; ++c) {
            CBString s = Chr(c);
            ASSERT_EQ(Ucase(s), Chr(t_toupper(c))) << c;
            ASSERT_EQ(Lcase(s.c_str()), Chr(t_tolower(c))) << c;
            ASSERT_EQ(Isalpha(s), t_isalpha(c) ? -1 : 0) << c;
            ASSERT_EQ(Issymbol(s), t_issymbol(c) ? -1 : 0) << c;
            if (c >= 128 && t_isupper(c) && t_tolower(c) != c) ++nAccented;
        }
        EXPECT_GE(nAccented, 8) << "the set has accented capitals with small forms";
    }
    Morka.iCharset = iSaved;
}
