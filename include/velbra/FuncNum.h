// FuncNum: the numeric built-in functions: reading and writing numbers as
// text, arithmetic helpers, 16-bit logic, counters and the trigonometric
// family with its degree/radian switch. Reals are dfp_t: a double in the IEEE
// flavour, a decimal64 in the decimal flavour, where the maths is decimal
// too. None of these raises a BASIC error: a value outside a function's
// domain gives NaN or an infinity, as the maths library does.
#pragma once

#include <morka/CBString.h>
#include <velbra/Flavour.h>

namespace morka {

// Number syntax: the class of a text as a number: 0 not a number, 1 integer
// form, 2 real form (decimal point of the settings, or an exponent). Leading
// and trailing spaces (code 32 only) are allowed.
int b_NumberClass(char const* s);

// Val: the number in s; 0 when s is not a number. Integer forms are read as
// 64-bit integers, real forms with the settings' decimal-point byte.
dfp_t Val(char const* s);
dfp_t Val(CBString& s);
// Nbr: -1 when s is a number, else 0.
int Nbr(char const* s);
// Hex: one hexadecimal number (leading white space, a sign and 0x allowed),
// as a signed 64-bit value; 0 when there is no hexadecimal digit.
dfp_t Hex(char const* s);
// Oct: the octal digits at the start of s (the last four when more), 0..4095;
// 0 when s does not start with an octal digit.
int Oct(char const* s);
// Bin: leading '0's skipped, then the run of '0'/'1' from the first '1', as
// its low 16 bits (0..65535); 0 when no '1' follows the zeros.
int Bin(char const* s);

// Str: "%d" of an integer; "%.14G" of a real with the settings' decimal point.
CBString Str(int n);
CBString Str(dfp_t x);
// Hexof: upper-case hex: 4+ digits for -32768..32767 (low 32 bits), 8 digits
// within 32 bits, else 16 digits.
CBString Hexof(long v);
// Octof: the 16-bit pattern of v in six octal digits.
CBString Octof(short v);
// Binof: base-2 digits padded with '0' to 16, 32 or 64 digits by the range of
// v (-32768..32767, 32-bit, else); a negative v is written as its two's
// complement pattern of that width.
CBString Binof(long v);

// Abs: |x|; the most negative int, -0.0 and NaN come back unchanged.
int Abs(int n);
dfp_t Abs(dfp_t x);
// Sgn: -1, 0 or 1 (NaN gives 1).
int Sgn(int n);
int Sgn(dfp_t x);
// Max: a when a > b, else b. Min: a when a < b, else b (so NaN in either
// gives the second argument).
int Max(int a, int b);
dfp_t Max(dfp_t a, dfp_t b);
dfp_t Max(dfp_t a, int b);
dfp_t Max(int a, dfp_t b);
int Min(int a, int b);
dfp_t Min(dfp_t a, dfp_t b);
dfp_t Min(dfp_t a, int b);
dfp_t Min(int a, dfp_t b);
// Mod: remainder with the sign of a (fmod).
dfp_t Mod(dfp_t a, dfp_t b);
dfp_t Mod(dfp_t a, int b);
dfp_t Mod(int a, dfp_t b);
// Fp, Ip: fractional and integer part of |x|.
dfp_t Fp(dfp_t x);
dfp_t Ip(dfp_t x);
// Gcd of integers: Euclid with the truncating remainder; the sign follows the
// remainders (Gcd(4, -6) is -2); Gcd(0, b) is b. Gcd of reals: always >= 0;
// NaN when either argument is not finite.
dfp_t Gcd(int a, int b);
dfp_t Gcd(dfp_t a, dfp_t b);
// Round: floor(x * 10^places + 0.5) / 10^places (halves go up); an infinite x
// gives 0, NaN passes through.
dfp_t Round(dfp_t x, dfp_t places);

// Not: logical mode (b_bLogical): -1 for 0, else 0; otherwise the bitwise
// complement. A real outside -32768..32767 counts as -32768, others are
// truncated toward zero.
int Not(int n);
int Not(dfp_t x);
// Eqv, Imp: 16-bit NOT(a XOR b) and (NOT a) OR b, sign-extended.
int Eqv(int a, int b);
int Imp(int a, int b);
// Lrl, Lrr: the 16-bit pattern of v rotated left / right n places (n taken
// as an unsigned 32-bit count, so -1 rotates one place the other way),
// sign-extended.
int Lrl(short v, int n);
int Lrr(short v, int n);
// Msec, Nsec: the raw monotonic clock, restarting every 86400 seconds, in
// milliseconds / nanoseconds.
dfp_t Msec();
dfp_t Nsec();
// LockedBy: the lock-owner value of the settings.
int LockedBy();

// Angle mode: 0 radians (at load), 1 degrees.
extern unsigned char b_Degree;
void OptionDegree();
void OptionRadian();

// Deg, Rad: conversion with pi to twelve decimals (3.141592653589).
dfp_t Deg(dfp_t x);
dfp_t Rad(dfp_t x);
// Angle: atan(y / x), in degrees under OPTION DEGREE.
dfp_t Angle(dfp_t y, dfp_t x);
// The trigonometric family. Under OPTION DEGREE every one of them first
// converts its argument with Rad, the inverse functions included (their
// results stay in radians).
dfp_t Sin(dfp_t x);
dfp_t Cos(dfp_t x);
dfp_t Tan(dfp_t x);
dfp_t Cot(dfp_t x);
dfp_t Sec(dfp_t x);
dfp_t Csc(dfp_t x);
dfp_t Asin(dfp_t x);
dfp_t Acos(dfp_t x);
dfp_t Atan(dfp_t x);
dfp_t Acot(dfp_t x);
dfp_t Asec(dfp_t x);
dfp_t Acsc(dfp_t x);
dfp_t Sinh(dfp_t x);
dfp_t Cosh(dfp_t x);
dfp_t Tanh(dfp_t x);
dfp_t Coth(dfp_t x);
dfp_t Sech(dfp_t x);
dfp_t Csch(dfp_t x);
dfp_t Asinh(dfp_t x);
dfp_t Acosh(dfp_t x);
dfp_t Atanh(dfp_t x);
dfp_t Acoth(dfp_t x);
dfp_t Asech(dfp_t x);
dfp_t Acsch(dfp_t x);

}  // namespace morka
