// NumClasses: the BASIC numeric value classes CInt16, CInt32 and CDfp and the
// conversions whose overflow behaviour the language fixes.
//
// Conversions never round: they truncate toward zero. A value outside the
// target range gives the type's sentinel (-32768 or -2147483648). Truth values
// are -1 (true) and 0 (false). Arithmetic is inline; the out-of-line entry
// points live in runtime/core/NumClasses.cpp and runtime/core/ForNext.cpp.
#pragma once

#include <cstdint>
#include <velbra/Flavour.h>

namespace morka {

class CBString;
class CDfp;
class CInt32;

// b_I: to a 16-bit integer. In range -32768..32767 the value (truncated toward
// zero), else -32768. The decimal form tests the range on the value converted
// to double and truncates the decimal value itself.
int b_I(int n);
int b_I(long n);
int b_I(double x);
int b_I(decimal64 x);

// b_L: to a 32-bit integer, in range -2147483648..2147483647 (tested on the
// value as a double), else -2147483648; a NaN gives -2147483648.
int b_L(int n);
int b_L(long n);
int b_L(double x);
int b_L(decimal64 x);

// b_T: truth value of a condition: -1 when non-zero (or NaN), else 0.
int b_T(int n);
int b_T(double x);
int b_T(decimal64 x);

class CInt16 {
public:
    int16_t iValue = 0;

    CInt16() = default;
    // The low 16 bits of an int, as compiled code passes 16-bit values.
    CInt16(int n) : iValue(static_cast<int16_t>(n)) {}
    CInt16(CInt32 const& n);
    CInt16(CDfp const& x);
    operator int() const { return iValue; }
    CInt16& operator+=(int n) { iValue = static_cast<int16_t>(iValue + n); return *this; }
    CInt16& operator-=(int n) { iValue = static_cast<int16_t>(iValue - n); return *this; }
};

class CInt32 {
public:
    int32_t iValue = 0;

    CInt32() = default;
    CInt32(int n) : iValue(n) {}
    CInt32(CDfp const& x);
    operator int() const { return iValue; }
    CInt32& operator+=(int n) { iValue = static_cast<int32_t>(static_cast<int64_t>(iValue) + n); return *this; }
    CInt32& operator-=(int n) { iValue = static_cast<int32_t>(static_cast<int64_t>(iValue) - n); return *this; }
};

// The BASIC real: a double or a decimal64 (Flavour.h). Construction from any
// arithmetic value converts exactly where the representation allows.
class CDfp {
public:
    dfp_t xValue = 0;

    CDfp() = default;
    CDfp(int n) : xValue(n) {}
    CDfp(long n) : xValue(n) {}
    CDfp(long long n) : xValue(n) {}
    CDfp(unsigned n) : xValue(n) {}
    CDfp(double x) : xValue(static_cast<dfp_t>(x)) {}
#if defined(VELBRA_BCD) && VELBRA_BCD
    CDfp(decimal64 x) : xValue(x) {}
#else
    CDfp(decimal64 x) : xValue(static_cast<double>(x)) {}
#endif
    CDfp(CInt16 n) : xValue(n.iValue) {}
    CDfp(CInt32 n) : xValue(n.iValue) {}

    dfp_t Value() const { return xValue; }
    double ToDouble() const { return static_cast<double>(xValue); }
    explicit operator double() const { return static_cast<double>(xValue); }

    CDfp& operator+=(CDfp o) { xValue += o.xValue; return *this; }
    CDfp& operator-=(CDfp o) { xValue -= o.xValue; return *this; }
    CDfp& operator*=(CDfp o) { xValue *= o.xValue; return *this; }
    CDfp& operator/=(CDfp o) { xValue /= o.xValue; return *this; }
    CDfp operator-() const { CDfp r; r.xValue = -xValue; return r; }

    friend CDfp operator+(CDfp a, CDfp b) { a.xValue += b.xValue; return a; }
    friend CDfp operator-(CDfp a, CDfp b) { a.xValue -= b.xValue; return a; }
    friend CDfp operator*(CDfp a, CDfp b) { a.xValue *= b.xValue; return a; }
    friend CDfp operator/(CDfp a, CDfp b) { a.xValue /= b.xValue; return a; }
    friend bool operator==(CDfp a, CDfp b) { return a.xValue == b.xValue; }
    friend bool operator!=(CDfp a, CDfp b) { return a.xValue != b.xValue; }
    friend bool operator<(CDfp a, CDfp b) { return a.xValue < b.xValue; }
    friend bool operator<=(CDfp a, CDfp b) { return a.xValue <= b.xValue; }
    friend bool operator>(CDfp a, CDfp b) { return a.xValue > b.xValue; }
    friend bool operator>=(CDfp a, CDfp b) { return a.xValue >= b.xValue; }
};

inline CInt16::CInt16(CInt32 const& n) : iValue(static_cast<int16_t>(b_I(n.iValue))) {}
inline CInt16::CInt16(CDfp const& x) : iValue(static_cast<int16_t>(b_I(x.xValue))) {}
inline CInt32::CInt32(CDfp const& x) : iValue(b_L(x.xValue)) {}

// FOR/NEXT overflow test: true when adding step to counter would leave the
// type's range (direction 1 counts up, -1 down; any other direction: false).
bool __exit_for_next__(CInt16 step, CInt16 counter, CInt32 direction);
bool __exit_for_next__(CInt32 step, CInt32 counter, CInt32 direction);
bool __exit_for_next__(CDfp step, CDfp counter, CInt32 direction);

// SWAP: polls events, then exchanges the two values.
void Swap(CInt16& a, CInt16& b);
void Swap(CInt32& a, CInt32& b);
void Swap(CDfp& a, CDfp& b);
void Swap(CBString& a, CBString& b);

}  // namespace morka
