// CharsetTables: the Zezir and MORKA sets as Unicode tables, the nearest forms
// of characters a set lacks, and the byte <-> Unicode lookups of the system
// sets. The MORKA table is the Zezir table with its free codes filled, so the
// two agree on every byte Zezir assigns (CharsetConv.h lists both sets).
#include "CharsetCodes.h"

#include <morka/CharsetConv.h>
#include <morka/Settings.h>

#include <algorithm>
#include <iterator>

namespace morka {

namespace {

// Zezir 160-255; 0 marks a code without a character.
constexpr wchar_t s_aZezirHigh[96] = {
    0x250C, 0x2510, 0x2518, 0x2514, 0x253C, 0x251C, 0x2524, 0x252C,  // 160
    0x2534, 0x2500, 0x2502, 0x2591, 0x2592, 0x2593, 0x2588, 0x2554,  // 168
    0x2557, 0x255D, 0x255A, 0x256C, 0x2560, 0x2563, 0x2566, 0x2569,  // 176
    0x2550, 0x2551, 0,      0,      0,      0,      0,      0,       // 184
    0xC4,   0xE4,   0xE2,   0xE0,   0xE1,   0xC9,   0xEB,   0xEA,    // 192
    0xE8,   0xE9,   0xEF,   0xEE,   0xEC,   0xED,   0xD6,   0xF6,    // 200
    0xF4,   0xF2,   0xF3,   0xDC,   0xFC,   0xFB,   0xF9,   0xFA,    // 208
    0xC7,   0xE7,   0xD1,   0xF1,   0xC6,   0xE6,   0xC5,   0xE5,    // 216
    0xDF,   0xBF,   0xA1,   0xA2,   0xA3,   0xA5,   0xB5,   0x20AC,  // 224
    0xBC,   0xBD,   0xFF,   0xA7,   0xB0,   0xB2,   0,      0,       // 232
    0,      0xB1,   0,      0,      0,      0,      0,      0,       // 240
    0,      0,      0xB7,   0,      0,      0,      0,      0,       // 248
};

// The MORKA characters in the codes Zezir leaves free.
struct CFill {
    unsigned char c;
    wchar_t wc;
};
constexpr CFill s_aMorkaFill[] = {
    {128, 0xC0}, {129, 0xC1}, {130, 0xC2}, {131, 0xC3}, {132, 0xC8}, {133, 0xCA}, {134, 0xCB},
    {135, 0xCC}, {136, 0xCD}, {137, 0xCE}, {138, 0xCF}, {139, 0xD0}, {140, 0xD2}, {141, 0xD3},
    {142, 0xD4}, {143, 0xD5}, {144, 0xD7}, {145, 0xD8}, {146, 0xD9}, {147, 0xDA}, {148, 0xDB},
    {149, 0xDD}, {150, 0xDE}, {151, 0xE3}, {152, 0xF0}, {153, 0xF5}, {154, 0xF7}, {155, 0xF8},
    {156, 0xFD}, {157, 0xFE}, {158, 0x160}, {159, 0x161}, {186, 0x17D}, {187, 0x17E},
    {188, 0x152}, {189, 0x153}, {190, 0x178}, {191, 0xAA}, {238, 0xBA}, {239, 0xAB},
    {240, 0xBB}, {242, 0xA9}, {243, 0xAE}, {244, 0xAC}, {245, 0xAF}, {246, 0xB3},
    {247, 0xB9}, {248, 0xB6}, {249, 0xAD}, {251, 0x2018}, {252, 0x2019}, {253, 0x201C},
    {254, 0x201D}, {255, 0xA0},
};

// Nearest forms: a plain ASCII text for each character some set lacks.
struct CNearest {
    wchar_t wc;
    char const* pszAscii;
};
constexpr CNearest s_aNearest[] = {
    {0xA0, " "},     {0xA1, "!"},     {0xA2, "c"},     {0xA3, "L"},
    {0xA5, "Y"},     {0xA7, "S"},     {0xA9, "(C)"},   {0xAA, "a"},
    {0xAB, "\""},    {0xAC, "-"},     {0xAD, "-"},     {0xAE, "(R)"},
    {0xAF, "-"},     {0xB0, "o"},     {0xB1, "+-"},    {0xB2, "2"},
    {0xB3, "3"},     {0xB5, "u"},     {0xB6, "P"},     {0xB7, "."},
    {0xB9, "1"},     {0xBA, "o"},     {0xBB, "\""},    {0xBC, "1/4"},
    {0xBD, "1/2"},   {0xBF, "?"},     {0xC0, "A"},     {0xC1, "A"},
    {0xC2, "A"},     {0xC3, "A"},     {0xC4, "A"},     {0xC5, "A"},
    {0xC6, "AE"},    {0xC7, "C"},     {0xC8, "E"},     {0xC9, "E"},
    {0xCA, "E"},     {0xCB, "E"},     {0xCC, "I"},     {0xCD, "I"},
    {0xCE, "I"},     {0xCF, "I"},     {0xD0, "D"},     {0xD1, "N"},
    {0xD2, "O"},     {0xD3, "O"},     {0xD4, "O"},     {0xD5, "O"},
    {0xD6, "O"},     {0xD7, "x"},     {0xD8, "O"},     {0xD9, "U"},
    {0xDA, "U"},     {0xDB, "U"},     {0xDC, "U"},     {0xDD, "Y"},
    {0xDE, "TH"},    {0xDF, "ss"},    {0xE0, "a"},     {0xE1, "a"},
    {0xE2, "a"},     {0xE3, "a"},     {0xE4, "a"},     {0xE5, "a"},
    {0xE6, "ae"},    {0xE7, "c"},     {0xE8, "e"},     {0xE9, "e"},
    {0xEA, "e"},     {0xEB, "e"},     {0xEC, "i"},     {0xED, "i"},
    {0xEE, "i"},     {0xEF, "i"},     {0xF0, "d"},     {0xF1, "n"},
    {0xF2, "o"},     {0xF3, "o"},     {0xF4, "o"},     {0xF5, "o"},
    {0xF6, "o"},     {0xF7, "/"},     {0xF8, "o"},     {0xF9, "u"},
    {0xFA, "u"},     {0xFB, "u"},     {0xFC, "u"},     {0xFD, "y"},
    {0xFE, "th"},    {0xFF, "y"},     {0x152, "OE"},   {0x153, "oe"},
    {0x160, "S"},    {0x161, "s"},    {0x178, "Y"},    {0x17D, "Z"},
    {0x17E, "z"},    {0x2018, "'"},   {0x2019, "'"},   {0x201C, "\""},
    {0x201D, "\""},  {0x20AC, "EUR"}, {0x2500, "-"},   {0x2502, "|"},
    {0x250C, "+"},   {0x2510, "+"},   {0x2514, "+"},   {0x2518, "+"},
    {0x251C, "+"},   {0x2524, "+"},   {0x252C, "+"},   {0x2534, "+"},
    {0x253C, "+"},   {0x2550, "="},   {0x2551, "#"},   {0x2554, "#"},
    {0x2557, "#"},   {0x255A, "#"},   {0x255D, "#"},   {0x2560, "#"},
    {0x2563, "#"},   {0x2566, "#"},   {0x2569, "#"},   {0x256C, "#"},
    {0x2588, "#"},   {0x2591, "#"},   {0x2592, "#"},   {0x2593, "#"},
};

static_assert(std::is_sorted(std::begin(s_aNearest), std::end(s_aNearest),
                             [](CNearest const& a, CNearest const& b) { return a.wc < b.wc; }));

CNearest const* s_FindNearest(wchar_t wc) {
    auto it = std::lower_bound(std::begin(s_aNearest), std::end(s_aNearest), wc,
                               [](CNearest const& n, wchar_t w) { return n.wc < w; });
    return it != std::end(s_aNearest) && it->wc == wc ? it : nullptr;
}

CCodeTable s_MakeZezir() {
    CCodeTable t;
    for (int c = 0; c < 128; ++c) t.aToWide[c] = static_cast<wchar_t>(c);
    for (int c = 128; c < 256; ++c) {
        wchar_t wc = c >= 160 ? s_aZezirHigh[c - 160] : 0;
        t.aToWide[c] = wc ? wc : static_cast<wchar_t>(0xF700 + c);
    }
    t.BuildReverse();
    return t;
}

CCodeTable s_MakeMorka() {
    CCodeTable t = s_MakeZezir();
    for (CFill const& f : s_aMorkaFill) t.aToWide[f.c] = f.wc;
    t.BuildReverse();
    return t;
}

}  // namespace

void CCodeTable::BuildReverse() {
    aFromWide.clear();
    for (int c = 0; c < 256; ++c) {
        if (aToWide[c] != WCHAR_NONE) aFromWide.emplace_back(aToWide[c], static_cast<unsigned char>(c));
    }
    std::stable_sort(aFromWide.begin(), aFromWide.end(),
                     [](auto const& a, auto const& b) { return a.first < b.first; });
}

int CCodeTable::Find(wchar_t wc) const {
    if (wc >= 0 && wc < 128 && aToWide[wc] == wc) return static_cast<int>(wc);
    auto it = std::lower_bound(aFromWide.begin(), aFromWide.end(), wc,
                               [](auto const& p, wchar_t w) { return p.first < w; });
    return it != aFromWide.end() && it->first == wc ? it->second : -1;
}

void CCodeTable::Encode(std::string& sOut, wchar_t wc) const {
    int c = Find(wc);
    if (c >= 0) {
        sOut += static_cast<char>(c);
        return;
    }
    CNearest const* pNear = s_FindNearest(wc);
    sOut += pNear ? pNear->pszAscii : "?";
}

CCodeTable const& t_ZezirCodes() {
    static CCodeTable const s_table = s_MakeZezir();
    return s_table;
}

CCodeTable const& t_MorkaCodes() {
    static CCodeTable const s_table = s_MakeMorka();
    return s_table;
}

CCodeTable const& t_SystemCodes(int iCharset) {
    return iCharset == CHARSET_MORKA ? t_MorkaCodes() : t_ZezirCodes();
}

std::string t_Recode(std::string_view s, CCodeTable const& from, CCodeTable const& to) {
    std::string sOut;
    sOut.reserve(s.size());
    for (char ch : s) to.Encode(sOut, from.aToWide[static_cast<unsigned char>(ch)]);
    return sOut;
}

wchar_t t_chr2wchar(int c, int iCharset) { return t_SystemCodes(iCharset).aToWide[c & 0xFF]; }

int t_wchar2chr(wchar_t wc, int iCharset) {
    std::string s;
    t_SystemCodes(iCharset).Encode(s, wc);
    return static_cast<unsigned char>(s[0]);
}

int t_wchar2chrexact(wchar_t wc, int iCharset) { return t_SystemCodes(iCharset).Find(wc); }

wchar_t t_chr2wchar(int c) { return t_chr2wchar(c, Morka.iCharset); }
int t_wchar2chr(wchar_t wc) { return t_wchar2chr(wc, Morka.iCharset); }

}  // namespace morka
