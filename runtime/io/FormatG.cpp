// FormatG: "%.<P>G" without snprintf. The double form is std::to_chars (same
// digits as printf, about three times faster); the decimal64 form decodes the
// BID encoding (sign, coefficient, exponent), rounds the coefficient to P
// digits half to even and lays the digits out by the %G rule: fixed notation
// when -4 <= X < P for the decimal exponent X, else d.dddE+XX; trailing zeros
// of the fraction are dropped. (libdfp's own %G rounds wrongly in fixed
// notation and keeps a digit too many when rounding carries; its %E is right
// and serves as the test's reference.)
#include <velbra/FormatG.h>

#include <charconv>
#include <cstdint>
#include <cstring>

namespace morka {

namespace {

int s_Upper(char* pBuf, char* pEnd) {
    for (char* p = pBuf; p < pEnd; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    *pEnd = 0;
    return static_cast<int>(pEnd - pBuf);
}

// Rounds the digit string d (n digits) to nKeep digits, half to even; returns
// 1 when the carry made it one digit longer (then d is "1" and zeros).
int s_RoundDigits(char* d, int n, int nKeep) {
    char cNext = d[nKeep];
    bool bRestNonZero = false;
    for (int i = nKeep + 1; i < n; ++i) bRestNonZero |= d[i] != '0';
    bool bUp = cNext > '5' || (cNext == '5' && (bRestNonZero || ((d[nKeep - 1] - '0') & 1)));
    if (!bUp) return 0;
    for (int i = nKeep - 1; i >= 0; --i) {
        if (d[i] != '9') {
            ++d[i];
            return 0;
        }
        d[i] = '0';
    }
    d[0] = '1';
    return 1;
}

}  // namespace

int b_FormatG(char* pBuf, double x, int nPrecision) {
    if (nPrecision < 1) nPrecision = 1;
    auto r = std::to_chars(pBuf, pBuf + b_kFormatGSize - 1, x, std::chars_format::general, nPrecision);
    return s_Upper(pBuf, r.ptr);
}

int b_FormatG(char* pBuf, decimal64 x, int nPrecision) {
    if (nPrecision < 1) nPrecision = 1;
    if (nPrecision > 17) nPrecision = 17;
    uint64_t u;
    std::memcpy(&u, &x, sizeof u);
    char* p = pBuf;
    if (u >> 63) *p++ = '-';
    uint64_t uCoeff;
    int iExp;
    if (((u >> 61) & 3) == 3) {
        if (((u >> 59) & 3) == 3) {
            std::memcpy(p, ((u >> 58) & 1) ? "NAN" : "INF", 4);
            return static_cast<int>(p - pBuf) + 3;
        }
        iExp = static_cast<int>((u >> 51) & 0x3FF) - 398;
        uCoeff = (u & 0x7FFFFFFFFFFFFull) | 0x20000000000000ull;
        if (uCoeff > 9999999999999999ull) uCoeff = 0;  // non-canonical: zero
    } else {
        iExp = static_cast<int>((u >> 53) & 0x3FF) - 398;
        uCoeff = u & 0x1FFFFFFFFFFFFFull;
    }
    if (uCoeff == 0) {
        *p++ = '0';
        *p = 0;
        return static_cast<int>(p - pBuf);
    }
    char d[24] = {};
    int n = static_cast<int>(std::to_chars(d, d + sizeof d, uCoeff).ptr - d);
    if (n > nPrecision) {
        iExp += n - nPrecision;
        iExp += s_RoundDigits(d, n, nPrecision);
        n = nPrecision;
    }
    int X = n - 1 + iExp;
    // Significant digits without trailing zeros.
    int nSig = n;
    while (nSig > 1 && d[nSig - 1] == '0') --nSig;
    if (X >= -4 && X < nPrecision) {
        if (X >= 0) {
            for (int i = 0; i <= X; ++i) *p++ = i < nSig ? d[i] : '0';
            if (nSig > X + 1) {
                *p++ = '.';
                for (int i = X + 1; i < nSig; ++i) *p++ = d[i];
            }
        } else {
            *p++ = '0';
            *p++ = '.';
            for (int i = 0; i < -X - 1; ++i) *p++ = '0';
            for (int i = 0; i < nSig; ++i) *p++ = d[i];
        }
    } else {
        *p++ = d[0];
        if (nSig > 1) {
            *p++ = '.';
            for (int i = 1; i < nSig; ++i) *p++ = d[i];
        }
        *p++ = 'E';
        *p++ = X < 0 ? '-' : '+';
        int iAbs = X < 0 ? -X : X;
        if (iAbs < 10) *p++ = '0';
        p = std::to_chars(p, p + 4, iAbs).ptr;
    }
    *p = 0;
    return static_cast<int>(p - pBuf);
}

}  // namespace morka
