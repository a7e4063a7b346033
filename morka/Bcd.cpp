// Bcd: conversions of the legacy BCD number (layout in include/morka/Bcd.h).
// Doubles are rounded to 14 digits, half to even on the exact binary value,
// by scaling the binary significand with a power of ten in 128-bit integers
// (std::to_chars, exact as well, takes the values beyond that). Reading
// back divides or multiplies the 14-digit integer by an exact power of ten
// when the power is at most 22 (one correctly rounded operation), else parses
// the digits with std::from_chars; both give the double nearest the value.
// decimal64 values are built and taken apart in their BID bit layout.
#include <morka/Bcd.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace morka {

namespace {

constexpr int BCD_DIGITS = 14;
constexpr int BCD_BIAS = 64;
constexpr int DFP_BIAS = 398;
constexpr uint64_t DFP_MAX_COEFF = 9999999999999999ULL;

constexpr double s_adPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

uint64_t s_Pow10(int n) {
    uint64_t u = 1;
    while (n-- > 0) u *= 10;
    return u;
}

int s_DigitCount(uint64_t u) {
    int n = 0;
    for (; u; u /= 10) ++n;
    return n;
}

// Packs a sign, an exponent (value = 0.digits x 10^iExp10) and exactly 14
// digits; false when the exponent does not fit.
bool s_Pack(bool bNegative, int iExp10, uint64_t uDigits, unsigned char* p) {
    int e = iExp10 + BCD_BIAS;
    if (e < 0 || e > 127) return false;
    // Split into 2-digit groups in a shallow tree rather than digit by digit:
    // the divisions do not wait for each other.
    auto uHigh = static_cast<uint32_t>(uDigits / 100000000);  // digits 1..6
    auto uLow = static_cast<uint32_t>(uDigits % 100000000);   // digits 7..14
    uint32_t auGroups[7] = {uHigh / 10000, uHigh / 100 % 100, uHigh % 100, uLow / 1000000,
                            uLow / 10000 % 100, uLow / 100 % 100, uLow % 100};
    // The eight bytes are stored at once (byte 0 first in memory).
    uint64_t uBytes = static_cast<uint64_t>((bNegative ? 0x80 : 0) | e);
    for (int i = 0; i < 7; ++i) uBytes |= static_cast<uint64_t>(auGroups[i] + 6 * (auGroups[i] / 10)) << (8 * (i + 1));
    static_assert(std::endian::native == std::endian::little);
    std::memcpy(p, &uBytes, 8);
    return true;
}

// The 14 digits as an integer, and the power of ten that scales it.
uint64_t s_Unpack(unsigned char const* p, int& iPow10) {
    uint64_t u = 0;
    for (int i = 1; i <= 7; ++i) u = u * 100 + (p[i] >> 4) * 10 + (p[i] & 0x0F);
    iPow10 = (p[0] & 0x7F) - BCD_BIAS - BCD_DIGITS;
    return u;
}

using u128 = unsigned __int128;

constexpr uint64_t BCD_LOW = 10000000000000ULL;   // 1E13: the least 14-digit integer
constexpr uint64_t BCD_HIGH = 100000000000000ULL; // 1E14
constexpr int MAX_EXACT_POW = 38;                 // 1E38 < 2^127

constexpr auto s_auPow10Wide = [] {
    std::array<u128, MAX_EXACT_POW + 1> a{};
    a[0] = 1;
    for (int i = 1; i <= MAX_EXACT_POW; ++i) a[static_cast<std::size_t>(i)] = a[static_cast<std::size_t>(i) - 1] * 10;
    return a;
}();

u128 s_Pow10Wide(int n) { return s_auPow10Wide[static_cast<std::size_t>(n)]; }

// The 14 digits of a = m x 2^iExp2 for a decimal exponent guess n
// (10^(n-1) <= a < 10^n): floor(a x 10^(14-n)) into uFloor and how the rest
// compares with one half (-1 below, 0 equal, 1 above). False when the exact
// product does not fit in 128 bits.
bool s_Scale(uint64_t m, int iExp2, int n, uint64_t& uFloor, int& iHalf) {
    int k = BCD_DIGITS - n;
    u128 uNum, uDen;
    if (k >= 0) {
        if (k > 22) return false;  // m x 10^k must stay below 2^128
        uNum = static_cast<u128>(m) * s_Pow10Wide(k);
        uDen = 1;
    } else {
        if (-k > MAX_EXACT_POW) return false;
        uNum = m;
        uDen = s_Pow10Wide(-k);
    }
    if (iExp2 >= 0) {
        if (iExp2 >= 127 || (uNum >> (127 - iExp2)) != 0) return false;  // must stay below 2^127
        uNum <<= iExp2;
    } else if (uDen == 1) {
        if (-iExp2 >= 127) return false;
        int sh = -iExp2;
        u128 uQuot = uNum >> sh;
        if (uQuot >= BCD_HIGH) {
            uFloor = BCD_HIGH;  // out of the 14-digit range: the caller corrects n
            return true;
        }
        u128 uRest = uNum - (uQuot << sh);
        u128 uHalf = static_cast<u128>(1) << (sh - 1);
        uFloor = static_cast<uint64_t>(uQuot);
        iHalf = uRest < uHalf ? -1 : uRest == uHalf ? 0 : 1;
        return true;
    } else {
        if (-iExp2 >= 127 || (uDen >> (127 + iExp2)) != 0) return false;  // must stay below 2^127
        uDen <<= -iExp2;
    }
    u128 uQuot = uNum / uDen;
    if (uQuot >= BCD_HIGH) {
        uFloor = BCD_HIGH;
        return true;
    }
    u128 uRest2 = (uNum - uQuot * uDen) * 2;
    uFloor = static_cast<uint64_t>(uQuot);
    iHalf = uRest2 < uDen ? -1 : uRest2 == uDen ? 0 : 1;
    return true;
}

// The exact decimal expansion through std::to_chars: for the values the
// integer arithmetic above cannot scale (very small or very large ones).
bool s_DoubleToBcdText(bool bNegative, double a, unsigned char* p) {
    char sz[40];
    auto res = std::to_chars(sz, sz + sizeof sz, a, std::chars_format::scientific, BCD_DIGITS - 1);
    if (res.ec != std::errc()) return false;
    // sz: d.ddddddddddddde[+-]XX
    uint64_t u = static_cast<uint64_t>(sz[0] - '0');
    for (int i = 2; i < BCD_DIGITS + 1; ++i) u = u * 10 + static_cast<uint64_t>(sz[i] - '0');
    int iExp = 0;
    std::from_chars(sz + BCD_DIGITS + 2 + (sz[BCD_DIGITS + 2] == '+'), res.ptr, iExp);
    return s_Pack(bNegative, iExp + 1, u, p);
}

// Rounds a finite double to 14 digits, half to even on its exact binary
// value, in 128-bit integer arithmetic where the scaled value fits.
bool s_DoubleToBcd(double x, unsigned char* p) {
    if (x == 0) {
        std::memset(p, 0, 8);
        return true;
    }
    if (!std::isfinite(x)) return false;
    bool bNegative = std::signbit(x);
    double a = std::fabs(x);
    uint64_t uBits;
    std::memcpy(&uBits, &a, 8);
    int iBiased = static_cast<int>(uBits >> 52);
    if (iBiased == 0) return s_DoubleToBcdText(bNegative, a, p);  // subnormal: far below the range
    uint64_t m = (uBits & ((1ULL << 52) - 1)) | (1ULL << 52);
    int iExp2 = iBiased - 1075;  // a = m x 2^iExp2
    // floor(log10(a)) is floor(log2(a) x log10(2)) or one more.
    int iLog2 = iExp2 + 52;
    int n = ((iLog2 * 78913) >> 18) + 1;
    if (n >= 0 && n <= 22 && a >= s_adPow10[n]) ++n;  // exact powers settle the guess at once
    uint64_t uDigits = 0;
    int iHalf = 0;
    for (int iTry = 0;; ++iTry) {
        if (iTry == 2 || !s_Scale(m, iExp2, n, uDigits, iHalf)) return s_DoubleToBcdText(bNegative, a, p);
        if (uDigits >= BCD_HIGH) ++n;
        else if (uDigits < BCD_LOW) --n;
        else break;
    }
    if (iHalf > 0 || (iHalf == 0 && (uDigits & 1))) ++uDigits;
    if (uDigits == BCD_HIGH) {
        uDigits = BCD_LOW;
        ++n;
    }
    return s_Pack(bNegative, n, uDigits, p);
}

}  // namespace

bool ieee2bcd(void* p) {
    double x;
    std::memcpy(&x, p, sizeof x);
    unsigned char ab[8];
    if (!s_DoubleToBcd(x, ab)) return false;
    std::memcpy(p, ab, sizeof ab);
    return true;
}

double bcd2ieee(unsigned char const* p) {
    int iPow10 = 0;
    uint64_t u = s_Unpack(p, iPow10);
    if (u == 0) return 0.0;
    double x;
    if (iPow10 >= -22 && iPow10 <= 22) {
        double m = static_cast<double>(u);
        x = iPow10 >= 0 ? m * s_adPow10[iPow10] : m / s_adPow10[-iPow10];
    } else {
        char sz[48];
        int n = std::snprintf(sz, sizeof sz, "%llue%d", static_cast<unsigned long long>(u), iPow10);
        std::from_chars(sz, sz + n, x);
    }
    return (p[0] & 0x80) ? -x : x;
}

decimal64 bcd2dfp(unsigned char const* p) {
    int iPow10 = 0;
    uint64_t u = s_Unpack(p, iPow10);
    uint64_t uBits = (p[0] & 0x80 ? 1ULL << 63 : 0) | static_cast<uint64_t>(iPow10 + DFP_BIAS) << 53 | u;
    decimal64 x;
    static_assert(sizeof x == sizeof uBits);
    std::memcpy(&x, &uBits, sizeof x);
    return x;
}

double bid2ieee(unsigned char const* p) {
    decimal64 x;
    std::memcpy(&x, p, sizeof x);
    return static_cast<double>(x);
}

bool dfp2bcd(decimal64 x, unsigned char* p) {
    uint64_t uBits;
    std::memcpy(&uBits, &x, sizeof uBits);
    bool bNegative = uBits >> 63;
    uint64_t uCoeff;
    int iExp;
    if (((uBits >> 59) & 0xF) == 0xF) return false;  // infinity or NaN
    if (((uBits >> 61) & 3) == 3) {
        iExp = static_cast<int>((uBits >> 51) & 0x3FF);
        uCoeff = (uBits & ((1ULL << 51) - 1)) | (4ULL << 51);
    } else {
        iExp = static_cast<int>((uBits >> 53) & 0x3FF);
        uCoeff = uBits & ((1ULL << 53) - 1);
    }
    if (uCoeff > DFP_MAX_COEFF) uCoeff = 0;  // a non-canonical coefficient means 0
    if (uCoeff == 0) {
        std::memset(p, 0, 8);
        return true;
    }
    iExp -= DFP_BIAS;
    while (uCoeff % 10 == 0) {
        uCoeff /= 10;
        ++iExp;
    }
    int n = s_DigitCount(uCoeff);
    if (n > BCD_DIGITS) return false;
    unsigned char ab[8];
    if (!s_Pack(bNegative, iExp + n, uCoeff * s_Pow10(BCD_DIGITS - n), ab)) return false;
    std::memcpy(p, ab, sizeof ab);
    return true;
}

}  // namespace morka
