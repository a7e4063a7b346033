// RealMath: the arithmetic the built-in functions need, for both
// representations of the BASIC real. Every helper is a pair of overloads
// (double: the C library; decimal64: libdfp), so code written over dfp_t picks
// the flavour's own maths by overload resolution and never tests the flavour.
// Constants are written as dfp_t(...) of a double literal: the conversion to
// decimal64 rounds to 16 digits, which gives the literal's decimal value.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <velbra/Flavour.h>

namespace morka {

// The decimal floor, trunc and round take a short path through a 64-bit
// integer when |x| < 10^15 (libdfp's own take over 100 ns); a zero result
// goes to libdfp, which keeps the sign of zero.
inline bool b_IsSmallDecimal(decimal64 x) { return x > -1E15DD && x < 1E15DD; }
inline double b_Floor(double x) { return std::floor(x); }
inline decimal64 b_Floor(decimal64 x) {
    if (!b_IsSmallDecimal(x)) return floord64(x);
    int64_t n = static_cast<int64_t>(x);
    if (x < static_cast<decimal64>(n)) --n;
    return n ? static_cast<decimal64>(n) : floord64(x);
}
inline double b_Trunc(double x) { return std::trunc(x); }
inline decimal64 b_Trunc(decimal64 x) {
    if (!b_IsSmallDecimal(x)) return truncd64(x);
    int64_t n = static_cast<int64_t>(x);
    return n ? static_cast<decimal64>(n) : truncd64(x);
}
// Nearest integer, halves away from zero.
inline double b_RoundHalfAway(double x) { return std::round(x); }
inline decimal64 b_RoundHalfAway(decimal64 x) {
    if (!b_IsSmallDecimal(x)) return roundd64(x);
    int64_t n = static_cast<int64_t>(x);
    decimal64 fraction = x - static_cast<decimal64>(n);   // exact in decimal
    if (fraction >= 0.5DD) ++n;
    else if (fraction <= -0.5DD) --n;
    return n ? static_cast<decimal64>(n) : roundd64(x);
}
inline double b_Fabs(double x) { return std::fabs(x); }
inline decimal64 b_Fabs(decimal64 x) { return fabsd64(x); }
inline bool b_IsNan(double x) { return std::isnan(x); }
inline bool b_IsNan(decimal64 x) { return isnand64(x) != 0; }
inline bool b_IsInf(double x) { return std::isinf(x); }
inline bool b_IsInf(decimal64 x) { return isinfd64(x) != 0; }
inline double b_Fmod(double x, double y) { return std::fmod(x, y); }
inline decimal64 b_Fmod(decimal64 x, decimal64 y) { return fmodd64(x, y); }
inline double b_Remainder(double x, double y) { return std::remainder(x, y); }
inline decimal64 b_Remainder(decimal64 x, decimal64 y) { return remainderd64(x, y); }
inline double b_Pow(double x, double y) { return std::pow(x, y); }
inline decimal64 b_Pow(decimal64 x, decimal64 y) { return powd64(x, y); }
inline double b_Sqrt(double x) { return std::sqrt(x); }
inline decimal64 b_Sqrt(decimal64 x) { return sqrtd64(x); }
inline double b_Exp(double x) { return std::exp(x); }
inline decimal64 b_Exp(decimal64 x) { return expd64(x); }
inline double b_Log(double x) { return std::log(x); }
inline decimal64 b_Log(decimal64 x) { return logd64(x); }
inline double b_Sin(double x) { return std::sin(x); }
inline decimal64 b_Sin(decimal64 x) { return sind64(x); }
inline double b_Cos(double x) { return std::cos(x); }
inline decimal64 b_Cos(decimal64 x) { return cosd64(x); }
inline double b_Tan(double x) { return std::tan(x); }
inline decimal64 b_Tan(decimal64 x) { return tand64(x); }
inline double b_Cosh(double x) { return std::cosh(x); }
inline decimal64 b_Cosh(decimal64 x) { return coshd64(x); }
inline double b_Asin(double x) { return std::asin(x); }
inline decimal64 b_Asin(decimal64 x) { return asind64(x); }
inline double b_Acos(double x) { return std::acos(x); }
inline decimal64 b_Acos(decimal64 x) { return acosd64(x); }
inline double b_Atan(double x) { return std::atan(x); }
inline decimal64 b_Atan(decimal64 x) { return atand64(x); }

// Helpers that produce a real take a type tag as last argument (dfp_t{}), so
// that overload resolution picks the representation: b_Pow10(2, dfp_t{}).

// 10^n for an integer n: exact for every n in the decimal form and for
// 0..22 in the binary form.
inline double b_Pow10(int n, double) {
    static constexpr double s_aExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n >= 0 && n <= 22) return s_aExact[n];
    return std::pow(10.0, n);
}
inline decimal64 b_Pow10(int n, decimal64) {
    static decimal64 const s_aExact[] = {1E0DD,  1E1DD,  1E2DD,  1E3DD,  1E4DD,  1E5DD,  1E6DD,  1E7DD,
                                         1E8DD,  1E9DD,  1E10DD, 1E11DD, 1E12DD, 1E13DD, 1E14DD, 1E15DD,
                                         1E16DD, 1E17DD, 1E18DD, 1E19DD, 1E20DD, 1E21DD, 1E22DD};
    if (n >= 0 && n <= 22) return s_aExact[n];
    return scalbnd64(1.DD, n);
}

// Reads a real as strtod does, with '.' as the decimal point whatever the
// numeric locale.
double b_ParseReal(char const* psz, char** ppszEnd, double);
decimal64 b_ParseReal(char const* psz, char** ppszEnd, decimal64);

// The largest finite value (what a NaN becomes when it must be formatted)
// and a quiet NaN.
inline double b_RealMax(double) { return std::numeric_limits<double>::max(); }
inline decimal64 b_RealMax(decimal64) { return 9.999999999999999E384DD; }
inline double b_RealNan(double) { return std::numeric_limits<double>::quiet_NaN(); }
inline decimal64 b_RealNan(decimal64) { return __builtin_nand64(""); }

// The integral value x as a 64-bit integer when |x| < 2^63, for writing its
// digits quickly; false (and *pn unchanged) otherwise, NaN included.
inline bool b_ToInt64(double x, int64_t* pn) {
    if (!(x > -9.2e18 && x < 9.2e18)) return false;
    *pn = static_cast<int64_t>(x);
    return true;
}
inline bool b_ToInt64(decimal64 x, int64_t* pn) {
    if (!(x > -9.2e18DD && x < 9.2e18DD)) return false;
    *pn = static_cast<int64_t>(x);
    return true;
}

// snprintf of one real: the format holds literal text and exactly one
// conversion of the letters a A e E f F g G (flags - + space 0, a width and a
// precision allowed; a second conversion is written as text). The decimal
// form formats with libdfp and supplies flags and width itself; the '#' flag
// is ignored there. The decimal point is always '.', whatever the numeric
// locale. Returns the length the full text needs, as snprintf.
int b_RealPrintf(char* pszOut, std::size_t nSize, char const* pszFormat, double x);
int b_RealPrintf(char* pszOut, std::size_t nSize, char const* pszFormat, decimal64 x);

}  // namespace morka
