// CharClass: class and case tables of the two system sets, derived once from
// their Unicode tables (CharsetTables.cpp) so that classes and case pairs
// can never disagree with the conversions.
#include "CharsetCodes.h"

#include <morka/CharClass.h>
#include <morka/CharsetConv.h>
#include <morka/Settings.h>

namespace morka {

namespace {

enum : unsigned char {
    CC_ALPHA = 0x01,
    CC_DIGIT = 0x02,
    CC_LOWER = 0x04,
    CC_UPPER = 0x08,
    CC_SPACE = 0x10,
    CC_PRINT = 0x20,
};

struct CClassTable {
    unsigned char aFlags[256];
    unsigned char aUpper[256];
    unsigned char aLower[256];
};

bool s_IsUpperWide(wchar_t w) {
    return (w >= 'A' && w <= 'Z') || (w >= 0xC0 && w <= 0xDE && w != 0xD7) || w == 0x152 || w == 0x160 ||
           w == 0x178 || w == 0x17D;
}

bool s_IsLowerWide(wchar_t w) {
    return (w >= 'a' && w <= 'z') || w == 0xB5 || (w >= 0xDF && w <= 0xFF && w != 0xF7) || w == 0x153 ||
           w == 0x161 || w == 0x17E;
}

wchar_t s_UpperWide(wchar_t w) {
    if ((w >= 'a' && w <= 'z') || (w >= 0xE0 && w <= 0xFE && w != 0xF7)) return w - 0x20;
    switch (w) {
    case 0xFF: return 0x178;
    case 0x153: return 0x152;
    case 0x161: return 0x160;
    case 0x17E: return 0x17D;
    default: return w;
    }
}

wchar_t s_LowerWide(wchar_t w) {
    if ((w >= 'A' && w <= 'Z') || (w >= 0xC0 && w <= 0xDE && w != 0xD7)) return w + 0x20;
    switch (w) {
    case 0x178: return 0xFF;
    case 0x152: return 0x153;
    case 0x160: return 0x161;
    case 0x17D: return 0x17E;
    default: return w;
    }
}

CClassTable s_MakeClasses(CCodeTable const& codes) {
    CClassTable t{};
    for (int c = 0; c < 256; ++c) {
        wchar_t w = codes.aToWide[c];
        bool bUpper = s_IsUpperWide(w);
        bool bLower = s_IsLowerWide(w);
        bool bSpace = (w >= 9 && w <= 13) || w == ' ' || w == 0xA0;
        bool bPrint = w >= 0x20 && w != 0x7F && !(w >= 0x80 && w < 0xA0) && !(w >= 0xF700 && w <= 0xF7FF) &&
                      w != WCHAR_NONE;
        unsigned char f = 0;
        if (bUpper || bLower || w == 0xAA || w == 0xBA) f |= CC_ALPHA;
        if (w >= '0' && w <= '9') f |= CC_DIGIT;
        if (bUpper) f |= CC_UPPER;
        if (bLower) f |= CC_LOWER;
        if (bSpace) f |= CC_SPACE;
        if (bPrint) f |= CC_PRINT;
        t.aFlags[c] = f;
        int u = codes.Find(s_UpperWide(w));
        int l = codes.Find(s_LowerWide(w));
        t.aUpper[c] = static_cast<unsigned char>(u >= 0 ? u : c);
        t.aLower[c] = static_cast<unsigned char>(l >= 0 ? l : c);
    }
    return t;
}

CClassTable const& s_Classes(int iCharset) {
    static CClassTable const s_zezir = s_MakeClasses(t_ZezirCodes());
    static CClassTable const s_morka = s_MakeClasses(t_MorkaCodes());
    return iCharset == CHARSET_MORKA ? s_morka : s_zezir;
}

char* s_MapText(char* psz, unsigned char const* aMap) {
    for (char* p = psz; p && *p; ++p) *p = static_cast<char>(aMap[static_cast<unsigned char>(*p)]);
    return psz;
}

void s_MapBytes(std::string& s, unsigned char const* aMap) {
    for (char& ch : s) ch = static_cast<char>(aMap[static_cast<unsigned char>(ch)]);
}

bool s_Has(int c, unsigned char f) { return c >= 0 && (s_Classes(Morka.iCharset).aFlags[c & 0xFF] & f) != 0; }

}  // namespace

bool t_isalnum(int c) { return s_Has(c, CC_ALPHA | CC_DIGIT); }
bool t_isalpha(int c) { return s_Has(c, CC_ALPHA); }
bool t_isdigit(int c) { return s_Has(c, CC_DIGIT); }
bool t_islower(int c) { return s_Has(c, CC_LOWER); }
bool t_isprint(int c) { return s_Has(c, CC_PRINT); }
bool t_isspace(int c) { return s_Has(c, CC_SPACE); }
bool t_isupper(int c) { return s_Has(c, CC_UPPER); }
bool t_issymbol(int c) { return s_Has(c, CC_PRINT) && !s_Has(c, CC_ALPHA | CC_DIGIT | CC_SPACE); }

bool t_isalpha(int c, int iCharset) { return c >= 0 && (s_Classes(iCharset).aFlags[c & 0xFF] & CC_ALPHA) != 0; }
int t_toupper(int c, int iCharset) { return c < 0 ? c : s_Classes(iCharset).aUpper[c & 0xFF]; }
int t_tolower(int c, int iCharset) { return c < 0 ? c : s_Classes(iCharset).aLower[c & 0xFF]; }
int t_toupper(int c) { return t_toupper(c, Morka.iCharset); }
int t_tolower(int c) { return t_tolower(c, Morka.iCharset); }

char* t_strupr(char* psz) { return s_MapText(psz, s_Classes(Morka.iCharset).aUpper); }
char* t_strlwr(char* psz) { return s_MapText(psz, s_Classes(Morka.iCharset).aLower); }

CBString& t_strupr(CBString& s) {
    s_MapBytes(s.str(), s_Classes(Morka.iCharset).aUpper);
    return s;
}

CBString& t_strlwr(CBString& s) {
    s_MapBytes(s.str(), s_Classes(Morka.iCharset).aLower);
    return s;
}

}  // namespace morka
