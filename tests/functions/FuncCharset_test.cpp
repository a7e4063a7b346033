// The conversion functions pick the converter of the active set.
#include <velbra.h>

#include <cstring>
#include <gtest/gtest.h>

#include "../CharsetGuard.h"

using namespace morka;


TEST(FuncCharset, EachFunctionUsesTheActiveSet) {
    // "Àé" in MORKA is 128 201; "é" in Zezir is 201 too, and Zezir lacks À.
    struct { char const* id; int iCharset; CBString (*pFunc)(char const*); char const* pszIn; char const* pszOut; } const aCases[] = {
        {"m-to-cp850", 512, ToCp850, "\x80\xC9", "\xB7\x82"},
        {"z-to-cp850", 256, ToCp850, "\xC9\xA0", "\x82\xDA"},
        {"m-from-cp850", 512, FromCp850, "\xB7\x82", "\x80\xC9"},
        {"z-from-cp850", 256, FromCp850, "\xB7\x82", "A\xC9"},
        {"m-to-iso", 512, ToIso8859, "\x80\xE7", "\xC0\xA4"},
        {"z-to-iso", 256, ToIso8859, "\xC9\xE7", "\xE9\xA4"},
        {"m-from-iso", 512, FromIso8859, "\xA6", "\x9E"},
        {"z-from-iso", 256, FromIso8859, "\xA6", "S"},
        {"m-to-win", 512, ToWin1252, "\xFD\xE7", "\x93\x80"},
        {"z-from-win", 256, FromWin1252, "\x80\x93", "\xE7\""},
        {"m-to-utf8", 512, ToUtf8, "\x80", "\xC3\x80"},
        {"z-to-utf8", 256, ToUtf8, "\xB9", "\xE2\x95\x91"},
        {"m-from-utf8", 512, FromUtf8, "\xC5\x92", "\xBC"},
        {"z-from-utf8", 256, FromUtf8, "\xC5\x92", "OE"},
        {"m-to-zezir", 512, ToZezir, "\x80\xC9", "A\xC9"},
        {"z-to-zezir-copy", 256, ToZezir, "\x80\xC9", "\x80\xC9"},
        {"m-from-zezir", 512, FromZezir, "\xC9", "\xC9"},
        {"m-to-morka-copy", 512, ToMorka, "\x80", "\x80"},
        {"z-from-morka", 256, FromMorka, "\x80\xC9", "A\xC9"},
        {"m-from-morka-copy", 512, FromMorka, "\x80", "\x80"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        CCharsetGuard guard(c.iCharset);
        EXPECT_EQ(c.pFunc(c.pszIn).str(), c.pszOut);
        EXPECT_EQ(c.pFunc(nullptr).str(), "");
    }
}

TEST(FuncCharset, UnicodeRoundTripAtAnyAlignment) {
    CCharsetGuard guard(512);
    CBString sWide = ToUnicode("a\x80\xB9");
    ASSERT_EQ(sWide.length(), static_cast<int>(4 * sizeof(wchar_t)));
    wchar_t aUnits[4];
    std::memcpy(aUnits, sWide.data(), sizeof aUnits);
    EXPECT_EQ(aUnits[0], L'a');
    EXPECT_EQ(aUnits[1], L'À');
    EXPECT_EQ(aUnits[2], L'║');
    EXPECT_EQ(aUnits[3], L'\0');
    std::string sShifted = "x" + sWide.str();
    EXPECT_EQ(FromUnicode(sShifted.data() + 1).str(), "a\x80\xB9");
    Morka.iCharset = 256;
    EXPECT_EQ(FromUnicode(sShifted.data() + 1).str(), "aA\xB9");
}
