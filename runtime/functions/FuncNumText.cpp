// FuncNumText: numbers read from text (Val, Nbr, Hex, Oct, Bin) and written
// as text (Str, Hexof, Octof, Binof).
// Choices: a real form is read with the settings' decimal-point byte, swapped
// for '.' and read under the "C" locale, so the reading never depends on
// whether the numeric locale could be switched; Hex, Oct and Bin of a text without a
// digit of their base give 0; Binof of a negative value writes the two's
// complement pattern of its width class (16, 32 or 64 digits).
#include <velbra/FuncNum.h>
#include <velbra/NumFormat.h>
#include <velbra/RealMath.h>
#include <morka/Settings.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace morka {

namespace {

bool s_IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int b_NumberClass(char const* s) {
    if (!s) return 0;
    char const* p = s;
    while (*p == ' ') ++p;
    if (!*p) return 0;
    int iClass = 1;
    if (*p == '+' || *p == '-') ++p;
    if (!s_IsDigit(*p)) return 0;
    while (s_IsDigit(*p)) ++p;
    if (*p == Morka.cDecimal) {
        iClass = 2;
        for (++p; s_IsDigit(*p); ++p) {}
    }
    if (*p == 'E' || *p == 'e') {
        iClass = 2;
        ++p;
        if (*p == '+' || *p == '-') ++p;
        if (!s_IsDigit(*p)) return 0;
        while (s_IsDigit(*p)) ++p;
    }
    while (*p == ' ') ++p;
    return *p ? 0 : iClass;
}

dfp_t Val(char const* s) {
    switch (b_NumberClass(s)) {
    case 1:
        return static_cast<dfp_t>(std::strtol(s, nullptr, 10));
    case 2: {
        std::string sText(s);
        std::size_t i = sText.find(Morka.cDecimal);
        if (i != std::string::npos) sText[i] = '.';
        return b_ParseReal(sText.c_str(), nullptr, dfp_t{});
    }
    default:
        return 0;
    }
}

dfp_t Val(CBString& s) { return Val(s.c_str()); }

int Nbr(char const* s) { return b_NumberClass(s) != 0 ? -1 : 0; }

dfp_t Hex(char const* s) {
    if (!s) return 0;
    unsigned long u = std::strtoul(s, nullptr, 16);
    return static_cast<dfp_t>(static_cast<long>(u));
}

int Oct(char const* s) {
    if (!s) return 0;
    std::size_t n = 0;
    while (s[n] >= '0' && s[n] <= '7') ++n;
    int iValue = 0;
    for (std::size_t i = n > 4 ? n - 4 : 0; i < n; ++i) iValue = iValue * 8 + (s[i] - '0');
    return iValue & 0xFFFF;
}

int Bin(char const* s) {
    if (!s) return 0;
    while (*s == '0') ++s;
    if (*s != '1') return 0;
    unsigned uValue = 0;
    for (; *s == '0' || *s == '1'; ++s) uValue = ((uValue << 1) | static_cast<unsigned>(*s - '0')) & 0xFFFFu;
    return static_cast<int>(uValue);
}

CBString Str(int n) {
    char aBuf[16];
    int nLen = std::snprintf(aBuf, sizeof aBuf, "%d", n);
    return CBString(aBuf, nLen);
}

CBString Str(dfp_t x) { return b_PrintDecimal("%.14G", x); }

CBString Hexof(long v) {
    char aBuf[24];
    int n;
    if (v >= -32768 && v <= 32767)
        n = std::snprintf(aBuf, sizeof aBuf, "%04X", static_cast<unsigned>(v));
    else if (v >= INT32_MIN && v <= INT32_MAX)
        n = std::snprintf(aBuf, sizeof aBuf, "%08X", static_cast<unsigned>(v));
    else
        n = std::snprintf(aBuf, sizeof aBuf, "%016lX", static_cast<unsigned long>(v));
    return CBString(aBuf, n);
}

CBString Octof(short v) {
    char aBuf[8];
    int n = std::snprintf(aBuf, sizeof aBuf, "%06o", static_cast<unsigned>(static_cast<unsigned short>(v)));
    return CBString(aBuf, n);
}

CBString Binof(long v) {
    int nWidth = v >= -32768 && v <= 32767 ? 16 : v >= INT32_MIN && v <= INT32_MAX ? 32 : 64;
    uint64_t u = static_cast<uint64_t>(v);
    if (nWidth < 64) u &= (uint64_t{1} << nWidth) - 1;
    std::string r(static_cast<std::size_t>(nWidth), '0');
    for (int i = nWidth - 1; i >= 0 && u; --i, u >>= 1)
        if (u & 1) r[static_cast<std::size_t>(i)] = '1';
    return CBString(std::move(r));
}

}  // namespace morka
