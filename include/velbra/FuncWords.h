// FuncWords: numbers in words (cheques and similar documents).
#pragma once

#include <morka/CBString.h>
#include <velbra/Flavour.h>

namespace morka {

class CDfp;

// The integer part of |x| in words: French when the language (getlang) is 2,
// else English. The sign and the fraction are dropped; a NaN or an infinity
// reads as 0. English: "zero"; groups past "nintillion" (sic, kept) are all named
// "lots". French: "z\xC9ro" (é of the system sets) for 0; past 10^15 the part
// above the billions is itself written in words before "billion(s)"
// (10^15 is "mille billions"). Both take the exact decimal digits of the
// value in either flavour.
CBString Num2words(double x);
CBString Num2words(decimal64 x);
CBString Num2words(CDfp const& x);
CBString Num2words(long long n);

// n (taken as |n|) in French words (the worker of Num2words).
CBString french_ftos(long n);

}  // namespace morka
