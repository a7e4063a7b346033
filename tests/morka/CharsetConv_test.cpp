// The system sets against iconv: every byte through Unicode and back, the
// external encodings through the system sets, the Zezir codes the extension
// library's tables fix, nearest forms and malformed UTF-8.
#include <morka/morka.h>

#include <gtest/gtest.h>
#include <iconv.h>
#include <string>

using namespace morka;

namespace {

// Independent conversion with iconv (no translit): "" when it fails.
std::string Iconv(std::string const& s, char const* pszFrom, char const* pszTo) {
    iconv_t cd = iconv_open(pszTo, pszFrom);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string sIn(s), sOut(s.size() * 4 + 8, '\0');
    char* pIn = sIn.data();
    char* pOut = sOut.data();
    size_t nIn = sIn.size(), nOut = sOut.size();
    size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return "";
    sOut.resize(sOut.size() - nOut);
    return sOut;
}

std::string Byte(int c) { return std::string(1, static_cast<char>(c)); }

struct CExternal {
    char const* pszIconv;
    CBString (*pFromMorka)(CBString const&);
    CBString (*pToMorka)(CBString const&);
    CBString (*pFromZezir)(CBString const&);
    CBString (*pToZezir)(CBString const&);
};

CExternal const s_aExternal[] = {
    {"IBM850", t_strmorka2cp850, t_strcp8502morka, t_strzezir2cp850, t_strcp8502zezir},
    {"ISO-8859-15", t_strmorka2lt9, t_strlt92morka, t_strzezir2lt9, t_strlt92zezir},
    {"CP1252", t_strmorka2win, t_strwin2morka, t_strzezir2win, t_strwin2zezir},
};

}  // namespace

TEST(CharsetConv, EveryByteOfBothSetsSurvivesUnicode) {
    for (int c = 0; c < 256; ++c) {
        SCOPED_TRACE(c);
        std::string s = Byte(c);
        CBString sUtf8 = t_strmorka2utf8(s);
        EXPECT_EQ(Iconv(sUtf8.str(), "UTF-8", "UTF-32LE").size(), 4u) << "valid UTF-8, one character";
        EXPECT_EQ(t_strutf82morka(sUtf8).str(), s);
        EXPECT_EQ(t_strutf82zezir(t_strzezir2utf8(s)).str(), s);
        CBString sWide = t_strmorka2wchar(s);
        ASSERT_EQ(sWide.length(), static_cast<int>(2 * sizeof(wchar_t)));
        EXPECT_EQ(t_strwchar2morka(reinterpret_cast<wchar_t const*>(sWide.data())).str(), c ? s : "");
        EXPECT_EQ(t_strwchar2zezir(reinterpret_cast<wchar_t const*>(t_strzezir2wchar(s).data())).str(), c ? s : "");
        // Every Zezir character keeps its code in MORKA.
        bool bFree = t_chr2wchar(c, CHARSET_ZEZIR) == static_cast<wchar_t>(0xF700 + c);
        EXPECT_EQ(bFree, c >= 128 && (c < 160 || (c > 185 && c < 192) || (c > 237 && c != 241 && c != 250)));
        EXPECT_EQ(t_strzezir2morka(s).str(), bFree ? "?" : s);
        EXPECT_EQ(t_wchar2chr(t_chr2wchar(c, CHARSET_MORKA), CHARSET_MORKA), c);
    }
}

TEST(CharsetConv, ExternalEncodingsAgreeWithIconv) {
    for (CExternal const& ext : s_aExternal) {
        for (int c = 0; c < 256; ++c) {
            SCOPED_TRACE(std::string(ext.pszIconv) + " byte " + std::to_string(c));
            // System byte -> UTF-8 -> iconv must equal the direct converter
            // whenever the target has the character.
            std::string sViaIconv = Iconv(t_strmorka2utf8(Byte(c)).str(), "UTF-8", ext.pszIconv);
            if (!sViaIconv.empty()) {
                EXPECT_EQ(ext.pFromMorka(Byte(c)).str(), sViaIconv);
            }
            std::string sZ = Iconv(t_strzezir2utf8(Byte(c)).str(), "UTF-8", ext.pszIconv);
            if (!sZ.empty()) {
                EXPECT_EQ(ext.pFromZezir(Byte(c)).str(), sZ);
            }
            // External byte -> system -> external is the identity whenever
            // the system set has the character.
            std::string sUtf8 = Iconv(Byte(c), ext.pszIconv, "UTF-8");
            if (sUtf8.empty()) {
                EXPECT_EQ(ext.pToMorka(Byte(c)).str(), "?") << "undefined external byte";
                continue;
            }
            CBString sMorka = ext.pToMorka(Byte(c));
            EXPECT_EQ(sMorka.str(), t_strutf82morka(sUtf8).str());
            if (t_strmorka2utf8(sMorka).str() == sUtf8) {
                EXPECT_EQ(ext.pFromMorka(sMorka).str(), Byte(c));
            }
            CBString sZezir = ext.pToZezir(Byte(c));
            if (t_strzezir2utf8(sZezir).str() == sUtf8) {
                EXPECT_EQ(ext.pFromZezir(sZezir).str(), Byte(c));
            }
        }
    }
}

TEST(CharsetConv, MorkaHoldsAllOfIso8859_15) {
    for (int c = 0xA0; c < 256; ++c) {
        SCOPED_TRACE(c);
        CBString sMorka = t_strlt92morka(Byte(c));
        ASSERT_EQ(sMorka.length(), 1);
        EXPECT_EQ(t_strmorka2lt9(sMorka).str(), Byte(c));
    }
}

// The Zezir codes the extension library's conversion tables fix: to ISO
// 8859-15 (_zzr2lt9) and to DOS (_zzr2dos, accented letters only: its signs
// follow code page 437, not 850). ¼ and ½ (232, 233) have no ISO 8859-15
// code: their Latin-1 codes BC and BD are Œ and œ there.
TEST(CharsetConv, ZezirCodesOfTheExtensionTables) {
    unsigned char const aZzr2lt9[] = {
        0xC4, 0xE4, 0xE2, 0xE0, 0xE1, 0xC9, 0xEB, 0xEA, 0xE8, 0xE9, 0xEF, 0xEE, 0xEC, 0xED, 0xD6, 0xF6,
        0xF4, 0xF2, 0xF3, 0xDC, 0xFC, 0xFB, 0xF9, 0xFA, 0xC7, 0xE7, 0xD1, 0xF1, 0xC6, 0xE6, 0xC5, 0xE5,
        0xDF, 0xBF, 0xA1, 0xA2, 0xA3, 0xA5, 0xB5, 0xA4, 0,    0,    0xFF, 0xA7, 0xB0, 0xB2, 0,    0,
        0,    0xB1, 0,    0,    0,    0,    0,    0,    0,    0,    0xB7, 0,    0,    0,    0,    0};
    unsigned char const aZzr2dos[] = {
        0x8E, 0x84, 0x83, 0x85, 0xA0, 0x90, 0x89, 0x88, 0x8A, 0x82, 0x8B, 0x8C, 0x8D, 0xA1, 0x99, 0x94,
        0x93, 0x95, 0xA2, 0x9A, 0x81, 0x96, 0x97, 0xA3, 0x80, 0x87, 0xA5, 0xA4, 0x92, 0x91, 0x8F, 0x86};
    for (int c = 192; c < 256; ++c) {
        SCOPED_TRACE(c);
        unsigned char e = aZzr2lt9[c - 192];
        if (c != 232 && c != 233) {
            EXPECT_EQ(t_strzezir2lt9(Byte(c)).str(), e ? Byte(e) : "?");
        }
        if (c < 224) {
            EXPECT_EQ(t_strzezir2cp850(Byte(c)).str(), Byte(aZzr2dos[c - 192]));
        }
    }
    EXPECT_EQ(t_strzezir2cp850(Byte(232)).str(), "\xAC");
    EXPECT_EQ(t_strzezir2cp850(Byte(233)).str(), "\xAB");
    EXPECT_EQ(t_strzezir2lt9(Byte(232)).str(), "1/4");
}

TEST(CharsetConv, LineDrawingCodes) {
    wchar_t const aBox[] = {L'┌', L'┐', L'┘', L'└', L'┼', L'├', L'┤', L'┬', L'┴', L'─', L'│', L'░', L'▒',
                            L'▓', L'█', L'╔', L'╗', L'╝', L'╚', L'╬', L'╠', L'╣', L'╦', L'╩', L'═', L'║'};
    char const* pszLt9 = "+++++++++-|####" "#########=#";
    for (int c = 160; c <= 185; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(t_chr2wchar(c, CHARSET_ZEZIR), aBox[c - 160]);
        EXPECT_EQ(t_chr2wchar(c, CHARSET_MORKA), aBox[c - 160]);
        EXPECT_EQ(t_strmorka2lt9(Byte(c)).str(), Byte(pszLt9[c - 160]));
    }
    // CP850 has both line weights, the shades and the block.
    EXPECT_EQ(t_strmorka2cp850("\xA0\xA9\xAA\xAF\xB8\xB9").str(), "\xDA\xC4\xB3\xC9\xCD\xBA");
    EXPECT_EQ(t_strmorka2cp850("\xAB\xAC\xAD\xAE").str(), "\xB0\xB1\xB2\xDB");
    EXPECT_EQ(t_wchar2chrexact(L'▓', CHARSET_ZEZIR), 173);
    EXPECT_EQ(t_wchar2chrexact(L'À', CHARSET_ZEZIR), -1);
    EXPECT_EQ(t_wchar2chrexact(L'À', CHARSET_MORKA), 128);
}

TEST(CharsetConv, NearestForms) {
    struct { char const* id; CBString (*pConv)(CBString const&); char const* pszIn; char const* pszOut; } const aCases[] = {
        {"morka-to-zezir-capitals", t_strmorka2zezir, "\x80\x84\x9E", "AES"},
        {"morka-to-zezir-ligature", t_strmorka2zezir, "\xBC\xBD", "OEoe"},
        {"morka-to-zezir-quotes", t_strmorka2zezir, "\xFB\xFC\xFD\xFE\xFF", "''\"\" "},
        {"morka-to-zezir-kept", t_strmorka2zezir, "\xC9t\xE9", "\xC9t\xE9"},
        {"euro-to-cp850", t_strmorka2cp850, "\xE7", "EUR"},
        {"euro-to-lt9", t_strmorka2lt9, "\xE7", "\xA4"},
        {"euro-to-win", t_strmorka2win, "\xE7", "\x80"},
        {"utf8-cjk", t_strutf82morka, "\xE4\xB8\xAD", "?"},
        {"utf8-truncated", t_strutf82morka, "a\xC3", "a?"},
        {"utf8-overlong", t_strutf82morka, "\xC0\xAF", "??"},
        {"utf8-surrogate", t_strutf82morka, "\xED\xA0\x80", "???"},
        {"utf8-stray-continuation", t_strutf82morka, "\x80z", "?z"},
        {"utf8-e-acute", t_strutf82morka, "\xC3\xA9", "\xC9"},
        {"utf8-zezir-capital-a-grave", t_strutf82zezir, "\xC3\x80", "A"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.pConv(c.pszIn).str(), c.pszOut);
    }
    // Embedded NUL bytes are text like any other.
    EXPECT_EQ(t_strmorka2utf8(CBString("a\0b", 3)).str(), std::string("a\0b", 3));
    EXPECT_EQ(t_strwchar2morka(nullptr).str(), "");
}

TEST(CharsetConv, ChannelPermutationLosesNoByte) {
    bool abSeen[256] = {};
    for (int c = 0; c < 256; ++c) {
        int e = t_chrsys2ext(c);
        ASSERT_GE(e, 0);
        ASSERT_LT(e, 256);
        EXPECT_FALSE(abSeen[e]) << "two bytes share channel byte " << e;
        abSeen[e] = true;
        EXPECT_EQ(t_chrext2sys(e), c);
        std::string sLt9 = t_strmorka2lt9(Byte(c)).str();
        if (c < 128 || (sLt9.size() == 1 && t_strlt92morka(sLt9).str() == Byte(c))) {
            EXPECT_EQ(Byte(e), sLt9) << "a character of ISO 8859-15 keeps its code " << c;
        } else {
            EXPECT_TRUE(e >= 0x80 && e < 0xA0) << c;
        }
    }
    // Whole strings convert as their bytes do, also between runs of ASCII
    // text (which the string converter copies in blocks).
    std::string sMixed;
    for (int c = 0; c < 256; ++c) sMixed += "ASCII run " + Byte(c);
    std::string sOut(sMixed.size(), '\0'), sBack(sMixed.size(), '\0');
    t_ConvertBytes(t_SysToExtTable(), sMixed.data(), sOut.data(), sMixed.size());
    for (std::size_t i = 0; i < sMixed.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(sOut[i]), t_chrsys2ext(static_cast<unsigned char>(sMixed[i]))) << i;
    t_ConvertBytes(t_ExtToSysTable(), sOut.data(), sBack.data(), sOut.size());
    EXPECT_EQ(sBack, sMixed);
}
