// TermKeys: the special-key table and the key names of the keyboard-stack
// notation. The codes are those of the xterm terminal description (the one
// the ON KEY function-key table is written for); the terminal driver maps the
// codes of the terminal in use onto them through the capability names.
#include <morka/TermKeys.h>
#include <morka/Term.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace morka {

t_KeyCode const t_aKeyCodes[] = {
    // no modifier
    {"kcuu1", 0x103, 257}, {"kcud1", 0x102, 258}, {"kcub1", 0x104, 259}, {"kcuf1", 0x105, 260},
    {"khome", 0x106, 261}, {"kend", 0x168, 262}, {"kpp", 0x153, 263}, {"knp", 0x152, 264}, {"kbs", 0x107, 266},
    {"kich1", 0x14B, 267}, {"kdch1", 0x14A, 268}, {"kf1", 0x109, 269}, {"kf2", 0x10A, 270}, {"kf3", 0x10B, 271},
    {"kf4", 0x10C, 272}, {"kf5", 0x10D, 273}, {"kf6", 0x10E, 274}, {"kf7", 0x10F, 275}, {"kf8", 0x110, 276},
    {"kf9", 0x111, 277}, {"kf10", 0x112, 278}, {"kf11", 0x113, 279}, {"kf12", 0x114, 280},
    // Shift
    {"kri", 0x151, 0x1000 + 257}, {"kind", 0x150, 0x1000 + 258}, {"kLFT", 0x189, 0x1000 + 259},
    {"kRIT", 0x192, 0x1000 + 260}, {"kHOM", 0x187, 0x1000 + 261}, {"kEND", 0x182, 0x1000 + 262},
    {"kPRV", 0x18E, 0x1000 + 263}, {"kNXT", 0x18C, 0x1000 + 264}, {"kcbt", 0x161, 0x1000 + 265},
    {"kIC", 0x188, 0x1000 + 267}, {"kDC", 0x17F, 0x1000 + 268}, {"kf13", 0x115, 0x1000 + 269},
    {"kf14", 0x116, 0x1000 + 270}, {"kf15", 0x117, 0x1000 + 271}, {"kf16", 0x118, 0x1000 + 272},
    {"kf17", 0x119, 0x1000 + 273}, {"kf18", 0x11A, 0x1000 + 274}, {"kf19", 0x11B, 0x1000 + 275},
    {"kf20", 0x11C, 0x1000 + 276}, {"kf21", 0x11D, 0x1000 + 277}, {"kf22", 0x11E, 0x1000 + 278},
    {"kf23", 0x11F, 0x1000 + 279}, {"kf24", 0x120, 0x1000 + 280},
    // Ctrl
    {"kUP5", 0x238, 0x2000 + 257}, {"kDN5", 0x20F, 0x2000 + 258}, {"kLFT5", 0x223, 0x2000 + 259},
    {"kRIT5", 0x232, 0x2000 + 260}, {"kHOM5", 0x219, 0x2000 + 261}, {"kEND5", 0x214, 0x2000 + 262},
    {"kPRV5", 0x22D, 0x2000 + 263}, {"kNXT5", 0x228, 0x2000 + 264}, {"kIC5", 0x21E, 0x2000 + 267},
    {"kDC5", 0x209, 0x2000 + 268}, {"kf25", 0x121, 0x2000 + 269}, {"kf26", 0x122, 0x2000 + 270},
    {"kf27", 0x123, 0x2000 + 271}, {"kf28", 0x124, 0x2000 + 272}, {"kf29", 0x125, 0x2000 + 273},
    {"kf30", 0x126, 0x2000 + 274}, {"kf31", 0x127, 0x2000 + 275}, {"kf32", 0x128, 0x2000 + 276},
    {"kf33", 0x129, 0x2000 + 277}, {"kf34", 0x12A, 0x2000 + 278}, {"kf35", 0x12B, 0x2000 + 279},
    {"kf36", 0x12C, 0x2000 + 280},
    // Ctrl+Shift
    {"kUP6", 0x239, 0x3000 + 257}, {"kDN6", 0x210, 0x3000 + 258}, {"kLFT6", 0x224, 0x3000 + 259},
    {"kRIT6", 0x233, 0x3000 + 260}, {"kHOM6", 0x21A, 0x3000 + 261}, {"kEND6", 0x215, 0x3000 + 262},
    {"kPRV6", 0x22E, 0x3000 + 263}, {"kNXT6", 0x229, 0x3000 + 264}, {"kIC6", 0x21F, 0x3000 + 267},
    {"kDC6", 0x20A, 0x3000 + 268}, {"kf37", 0x12D, 0x3000 + 269}, {"kf38", 0x12E, 0x3000 + 270},
    {"kf39", 0x12F, 0x3000 + 271}, {"kf40", 0x130, 0x3000 + 272}, {"kf41", 0x131, 0x3000 + 273},
    {"kf42", 0x132, 0x3000 + 274}, {"kf43", 0x133, 0x3000 + 275}, {"kf44", 0x134, 0x3000 + 276},
    {"kf45", 0x135, 0x3000 + 277}, {"kf46", 0x136, 0x3000 + 278}, {"kf47", 0x137, 0x3000 + 279},
    {"kf48", 0x138, 0x3000 + 280},
    // Alt
    {"kUP3", 0x236, 0x4000 + 257}, {"kDN3", 0x20D, 0x4000 + 258}, {"kLFT3", 0x221, 0x4000 + 259},
    {"kRIT3", 0x230, 0x4000 + 260}, {"kHOM3", 0x217, 0x4000 + 261}, {"kEND3", 0x212, 0x4000 + 262},
    {"kPRV3", 0x22B, 0x4000 + 263}, {"kNXT3", 0x226, 0x4000 + 264}, {"kIC3", 0x21C, 0x4000 + 267},
    {"kDC3", 0x207, 0x4000 + 268}, {"kf49", 0x139, 0x4000 + 269}, {"kf50", 0x13A, 0x4000 + 270},
    {"kf51", 0x13B, 0x4000 + 271}, {"kf52", 0x13C, 0x4000 + 272}, {"kf53", 0x13D, 0x4000 + 273},
    {"kf54", 0x13E, 0x4000 + 274}, {"kf55", 0x13F, 0x4000 + 275}, {"kf56", 0x140, 0x4000 + 276},
    {"kf57", 0x141, 0x4000 + 277}, {"kf58", 0x142, 0x4000 + 278}, {"kf59", 0x143, 0x4000 + 279},
    {"kf60", 0x144, 0x4000 + 280},
    // Alt+Shift
    {"kUP4", 0x237, 0x5000 + 257}, {"kDN4", 0x20E, 0x5000 + 258}, {"kLFT4", 0x222, 0x5000 + 259},
    {"kRIT4", 0x231, 0x5000 + 260}, {"kHOM4", 0x218, 0x5000 + 261}, {"kEND4", 0x213, 0x5000 + 262},
    {"kPRV4", 0x22C, 0x5000 + 263}, {"kNXT4", 0x227, 0x5000 + 264}, {"kIC4", 0x21D, 0x5000 + 267},
    {"kDC4", 0x208, 0x5000 + 268}, {"kf61", 0x145, 0x5000 + 269}, {"kf62", 0x146, 0x5000 + 270},
    {"kf63", 0x147, 0x5000 + 271},
    // Ctrl+Alt
    {"kUP7", 0x23A, 0x6000 + 257}, {"kDN7", 0x211, 0x6000 + 258}, {"kLFT7", 0x225, 0x6000 + 259},
    {"kRIT7", 0x234, 0x6000 + 260}, {"kHOM7", 0x21B, 0x6000 + 261}, {"kEND7", 0x216, 0x6000 + 262},
    {"kPRV7", 0x22F, 0x6000 + 263}, {"kNXT7", 0x22A, 0x6000 + 264}, {"kIC7", 0x220, 0x6000 + 267},
    {"kDC7", 0x20B, 0x6000 + 268},
    // keypad Enter
    {"kent", 0x157, 0},
    {nullptr, -1, 0},
};

t_KeyCode const* t_KeyByCode(int iCode) {
    for (t_KeyCode const* p = t_aKeyCodes; p->iCode >= 0; ++p)
        if (p->iCode == iCode) return p;
    return nullptr;
}

t_KeyCode const* t_KeyByToken(int iToken) {
    if (iToken == 0) return nullptr;
    for (t_KeyCode const* p = t_aKeyCodes; p->iCode >= 0; ++p)
        if (p->iToken == iToken) return p;
    return nullptr;
}

namespace {

// Special keys without modifier that the editors know by one byte.
struct CEditKey {
    int iCode;
    int iByte;
};
constexpr CEditKey s_aEditKeys[] = {
    {0x103, 11}, {0x102, 10}, {0x104, 8},   {0x105, 12}, {0x106, 20}, {0x168, 25},
    {0x153, 2},  {0x152, 16}, {0x107, 127}, {0x14B, 18}, {0x14A, 26}, {0x157, 13},
};

}  // namespace

int TermConvIn(int iKey) {
    if (iKey < TERM_KEY_SPECIAL) return iKey;
    int iCode = iKey - TERM_KEY_SPECIAL;
    for (CEditKey const& k : s_aEditKeys)
        if (k.iCode == iCode) return k.iByte;
    t_KeyCode const* pRow = t_KeyByCode(iCode);
    return pRow ? pRow->iToken : 0;
}

namespace {

struct CKeyName {
    char const* pszName;
    int iNumber;
};

constexpr CKeyName s_aNames[] = {
    {"ESC", 256}, {"UP", 257},   {"DOWN", 258}, {"LEFT", 259}, {"RIGHT", 260}, {"HOME", 261}, {"END", 262},
    {"PGUP", 263}, {"PGDN", 264}, {"TAB", 265},  {"BS", 266},   {"INS", 267},   {"DEL", 268},
};

// Keys that send plain bytes when no modifier is held.
struct CByteKey {
    int iNumber;
    int iByte;
};
constexpr CByteKey s_aByteKeys[] = {{256, 27}, {265, 9}, {266, 127}};

bool s_Is(char const* p, int n, char const* pszWord) {
    return static_cast<int>(std::strlen(pszWord)) == n && strncasecmp(p, pszWord, static_cast<std::size_t>(n)) == 0;
}

int s_KeyNumber(char const* p, int n) {
    for (CKeyName const& k : s_aNames)
        if (s_Is(p, n, k.pszName)) return k.iNumber;
    if (n >= 2 && n <= 3 && std::toupper(static_cast<unsigned char>(p[0])) == 'F') {
        int iF = 0;
        for (int i = 1; i < n; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(p[i]))) return -1;
            iF = iF * 10 + (p[i] - '0');
        }
        if (iF >= 1 && iF <= 12) return 268 + iF;
    }
    return -1;
}

}  // namespace

int t_KeyFromName(char const* p, int n) {
    if (!p || n <= 0) return -1;
    if (s_Is(p, n, "ENTER") || s_Is(p, n, "CR") || s_Is(p, n, "RETURN")) return 13;
    if (s_Is(p, n, "LT")) return '<';
    if (n == 2 && p[0] == '^') {
        int c = std::toupper(static_cast<unsigned char>(p[1]));
        return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : -1;
    }
    if (std::isdigit(static_cast<unsigned char>(p[0]))) {
        int iCode = 0;
        for (int i = 0; i < n; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(p[i])) || iCode > 0x7FFFFFF) return -1;
            iCode = iCode * 10 + (p[i] - '0');
        }
        return iCode;
    }
    // Modifier prefixes: S- C- A-, bit values 1, 2, 4 = the group in units of 0x1000.
    int iMods = 0;
    while (n > 2 && p[1] == '-') {
        int iBit = 0;
        switch (std::toupper(static_cast<unsigned char>(p[0]))) {
        case 'S': iBit = 1; break;
        case 'C': iBit = 2; break;
        case 'A': iBit = 4; break;
        default: return -1;
        }
        iMods |= iBit;
        p += 2;
        n -= 2;
    }
    int iNumber = s_KeyNumber(p, n);
    if (iNumber < 0) return -1;
    if (iMods == 0)
        for (CByteKey const& b : s_aByteKeys)
            if (b.iNumber == iNumber) return b.iByte;
    t_KeyCode const* pRow = t_KeyByToken(iMods * 0x1000 + iNumber);
    return pRow ? TERM_KEY_SPECIAL + pRow->iCode : -1;
}

}  // namespace morka
