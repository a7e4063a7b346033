// Bcd: conversions of the legacy BCD number (layout in include/morka/Bcd.h).
// Doubles are rounded to 14 digits by std::to_chars (exact decimal expansion,
// round half even), with a direct path for whole numbers below 1E14. Reading
// back divides or multiplies the 14-digit integer by an exact power of ten
// when the power is at most 22 (one correctly rounded operation), else parses
// the digits with std::from_chars; both give the double nearest the value.
// decimal64 values are built and taken apart in their BID bit layout.
#include <morka/Bcd.h>

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
    p[0] = static_cast<unsigned char>((bNegative ? 0x80 : 0) | e);
    for (int i = 7; i >= 1; --i) {
        unsigned lo = static_cast<unsigned>(uDigits % 10);
        uDigits /= 10;
        unsigned hi = static_cast<unsigned>(uDigits % 10);
        uDigits /= 10;
        p[i] = static_cast<unsigned char>(hi << 4 | lo);
    }
    return true;
}

// The 14 digits as an integer, and the power of ten that scales it.
uint64_t s_Unpack(unsigned char const* p, int& iPow10) {
    uint64_t u = 0;
    for (int i = 1; i <= 7; ++i) u = u * 100 + (p[i] >> 4) * 10 + (p[i] & 0x0F);
    iPow10 = (p[0] & 0x7F) - BCD_BIAS - BCD_DIGITS;
    return u;
}

bool s_DoubleToBcd(double x, unsigned char* p) {
    if (x == 0) {
        std::memset(p, 0, 8);
        return true;
    }
    if (!std::isfinite(x)) return false;
    bool bNegative = std::signbit(x);
    double a = std::fabs(x);
    if (a < 1e14 && a == std::floor(a)) {
        uint64_t u = static_cast<uint64_t>(a);
        int n = s_DigitCount(u);
        return s_Pack(bNegative, n, u * s_Pow10(BCD_DIGITS - n), p);
    }
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
