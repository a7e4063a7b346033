// NumClasses: the conversions to 16- and 32-bit integers and truth values.
// Range tests are made on doubles; the decimal forms test the decimal value
// against the same exact bounds (equivalent, as decimal64 has only 16 digits)
// and truncate the decimal value itself, so both flavours agree on every
// boundary. Nothing rounds: in-range values are truncated toward zero.
#include <velbra/NumClasses.h>
#include <velbra/Events.h>
#include <morka/CBString.h>

#include <cmath>
#include <utility>

namespace morka {

namespace {
constexpr int I16_FAIL = -32768;
constexpr int I32_FAIL = -2147483647 - 1;
}  // namespace

int b_I(int n) { return n >= -32768 && n <= 32767 ? n : I16_FAIL; }
int b_I(long n) { return n >= -32768 && n <= 32767 ? static_cast<int>(n) : I16_FAIL; }

int b_I(double x) {
    // The comparison is false for a NaN, which therefore fails too.
    if (x >= -32768.0 && x <= 32767.0) return static_cast<int>(std::trunc(x));
    return I16_FAIL;
}

int b_I(decimal64 x) {
    // The bounds are exact in both types and decimal64 carries 16 digits, so
    // testing the decimal itself decides every value as the double would,
    // without the costly decimal-to-binary conversion.
    if (x >= -32768.DD && x <= 32767.DD) return static_cast<int>(x);   // converts toward zero
    return I16_FAIL;
}

int b_L(int n) { return n; }

int b_L(long n) {
    double d = static_cast<double>(n);
    if (d >= -2147483648.0 && d <= 2147483647.0) return static_cast<int>(n);
    return I32_FAIL;
}

int b_L(double x) {
    if (x >= -2147483648.0 && x <= 2147483647.0) return static_cast<int>(std::trunc(x));
    return I32_FAIL;
}

int b_L(decimal64 x) {
    if (x >= -2147483648.DD && x <= 2147483647.DD) return static_cast<int>(static_cast<long long>(x));
    return I32_FAIL;
}

int b_T(int n) { return n != 0 ? -1 : 0; }
int b_T(double x) { return x != 0.0 ? -1 : 0; }   // NaN != 0 is true
int b_T(decimal64 x) { return x != static_cast<decimal64>(0) ? -1 : 0; }

void Swap(CInt16& a, CInt16& b) { b_CheckAll(); std::swap(a.iValue, b.iValue); }
void Swap(CInt32& a, CInt32& b) { b_CheckAll(); std::swap(a.iValue, b.iValue); }
void Swap(CDfp& a, CDfp& b) { b_CheckAll(); std::swap(a.xValue, b.xValue); }

void Swap(CBString& a, CBString& b) {
    b_CheckAll();
    CBString t(a);
    a = b;
    b = t;
}

}  // namespace morka
