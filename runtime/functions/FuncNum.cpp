// FuncNum: arithmetic helpers (Abs, Sgn, Max, Min, Mod, Fp, Ip, Gcd, Round)
// over int and the flavour's real. The decimal flavour rounds in decimal, so
// Round(1.005, 2) is 1.01 there while the binary product makes it 1.
// Choices: the integer Gcd works in 64 bits, so the most negative int with -1
// gives -1 instead of a division trap; the real Gcd of an infinity or a NaN is
// NaN (the remainder loop could not end).
#include <velbra/FuncNum.h>
#include <velbra/RealMath.h>

namespace morka {

int Abs(int n) { return n < 0 && n != -2147483647 - 1 ? -n : n; }
// dialect quirk: x < 0 rather than fabs, so -0.0 and NaN come back unchanged.
dfp_t Abs(dfp_t x) { return x < 0 ? -x : x; }

int Sgn(int n) { return n < 0 ? -1 : n > 0 ? 1 : 0; }
int Sgn(dfp_t x) { return x < 0 ? -1 : x == 0 ? 0 : 1; }

int Max(int a, int b) { return a > b ? a : b; }
dfp_t Max(dfp_t a, dfp_t b) { return a > b ? a : b; }
dfp_t Max(dfp_t a, int b) { return Max(a, static_cast<dfp_t>(b)); }
dfp_t Max(int a, dfp_t b) { return Max(static_cast<dfp_t>(a), b); }
int Min(int a, int b) { return a < b ? a : b; }
dfp_t Min(dfp_t a, dfp_t b) { return a < b ? a : b; }
dfp_t Min(dfp_t a, int b) { return Min(a, static_cast<dfp_t>(b)); }
dfp_t Min(int a, dfp_t b) { return Min(static_cast<dfp_t>(a), b); }

dfp_t Mod(dfp_t a, dfp_t b) { return b_Fmod(a, b); }
dfp_t Mod(dfp_t a, int b) { return b_Fmod(a, static_cast<dfp_t>(b)); }
dfp_t Mod(int a, dfp_t b) { return b_Fmod(static_cast<dfp_t>(a), b); }

dfp_t Fp(dfp_t x) {
    dfp_t a = b_Fabs(x);
    return a - b_Trunc(a);
}

dfp_t Ip(dfp_t x) { return b_Trunc(b_Fabs(x)); }

dfp_t Gcd(int a, int b) {
    long long llDivisor = a;
    long long llDividend = b;
    if (llDivisor == 0) return static_cast<dfp_t>(b);
    for (;;) {
        long long llRest = llDividend % llDivisor;
        if (llRest == 0) return static_cast<dfp_t>(llDivisor);
        llDividend = llDivisor;
        llDivisor = llRest;
    }
}

dfp_t Gcd(dfp_t a, dfp_t b) {
    a = b_Fabs(a);
    b = b_Fabs(b);
    if (b_IsNan(a) || b_IsNan(b) || b_IsInf(a) || b_IsInf(b)) return b_RealNan(dfp_t{});
    if (a == 0) return b;
    // The IEEE remainder is exact and at most half the divisor, so the
    // divisors shrink at least by half each turn and reach 0.
    for (;;) {
        dfp_t r = b_Remainder(b, a);
        b = a;
        a = b_Fabs(r);
        if (r == 0) return b;
    }
}

dfp_t Round(dfp_t x, dfp_t places) {
    if (b_IsInf(x)) return 0;
    dfp_t p = b_Pow(static_cast<dfp_t>(10), places);
    return b_Floor(x * p + static_cast<dfp_t>(0.5)) / p;
}

}  // namespace morka
