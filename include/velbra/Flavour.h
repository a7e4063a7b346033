// Flavour: the one place that picks the representation of the BASIC real.
// The IEEE flavour (libvelbra_ieee) keeps reals in a double; the decimal
// flavour (libvelbra_bcd, compile definition VELBRA_BCD=1) keeps them in an
// IEEE 754-2008 decimal64 (BID encoding, GCC's decimal type, maths by libdfp).
// Every other file uses dfp_t and never tests VELBRA_BCD itself.
#pragma once

#include <cstddef>

namespace morka {

// decimal64 exists in both flavours so that the decimal overloads of the
// numeric conversions are present in both libraries.
#if defined(__clang__)
// clang has no decimal floating types; it builds only the fuzz targets (IEEE
// flavour). There decimal64 is a struct holding the bit image in a double
// member, which the calling convention passes and returns in the same
// registers as the real type, and its two conversions call the BID routines
// that libdfp exports.
struct decimal64 {
    double dImage;
    decimal64() = default;
    explicit decimal64(double x);
    explicit operator double() const;
};
extern "C" decimal64 __bid_extenddfdd(double x);
extern "C" double __bid_truncdddf(decimal64 x);
inline decimal64::decimal64(double x) : dImage(__bid_extenddfdd(x).dImage) {}
inline decimal64::operator double() const { return __bid_truncdddf(*this); }
#else
typedef float decimal64 __attribute__((mode(DD)));
#endif

#if defined(VELBRA_BCD) && VELBRA_BCD
using dfp_t = decimal64;
inline constexpr bool b_bDecimalFlavour = true;
#else
using dfp_t = double;
inline constexpr bool b_bDecimalFlavour = false;
#endif

}  // namespace morka

// The decimal64 functions of libdfp that the run-time uses. Its own headers
// are C-only (they rely on _Decimal64), so the run-time declares them here
// with the GCC C++ spelling of the same type.
extern "C" {
morka::decimal64 strtod64(char const* pszText, char** ppszEnd);
int strfromd64(char* pszOut, std::size_t nSize, char const* pszFormat, morka::decimal64 x);
morka::decimal64 truncd64(morka::decimal64 x);
morka::decimal64 fabsd64(morka::decimal64 x);
int isnand64(morka::decimal64 x);
int isinfd64(morka::decimal64 x);
morka::decimal64 floord64(morka::decimal64 x);
morka::decimal64 roundd64(morka::decimal64 x);
morka::decimal64 fmodd64(morka::decimal64 x, morka::decimal64 y);
morka::decimal64 remainderd64(morka::decimal64 x, morka::decimal64 y);
morka::decimal64 powd64(morka::decimal64 x, morka::decimal64 y);
morka::decimal64 scalbnd64(morka::decimal64 x, int n);
morka::decimal64 sqrtd64(morka::decimal64 x);
morka::decimal64 expd64(morka::decimal64 x);
morka::decimal64 logd64(morka::decimal64 x);
morka::decimal64 sind64(morka::decimal64 x);
morka::decimal64 cosd64(morka::decimal64 x);
morka::decimal64 tand64(morka::decimal64 x);
morka::decimal64 coshd64(morka::decimal64 x);
morka::decimal64 asind64(morka::decimal64 x);
morka::decimal64 acosd64(morka::decimal64 x);
morka::decimal64 atand64(morka::decimal64 x);
}
