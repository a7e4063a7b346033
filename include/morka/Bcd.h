// Bcd: the legacy BCD number stored after tag 2 in tagged records. Layout of
// the eight bytes (this is the layout of users' data files):
//   byte 0      bit 7: sign (1 negative); bits 6..0: exponent E, excess 64
//   bytes 1..7  fourteen decimal digits d1..d14, two per byte, the high nibble first
//   value       (-1)^sign x 0.d1 d2 ... d14 x 10^(E - 64)
// A non-zero value is normalised (d1 is 1..9); zero is eight zero bytes. The
// range is 1E-65 up to 9.9999999999999E62 in magnitude, with 14 significant
// digits: every decimal value of up to 14 digits in that range is stored exactly.
#pragma once

#include <velbra/Flavour.h>

namespace morka {

// Converts in place: p holds a double (8 bytes, host order) and receives its
// BCD form, rounded to 14 significant digits (round half even on the exact
// binary value). Returns false and leaves the bytes unchanged for a NaN, an
// infinity or a value whose rounded form lies outside the exponent range.
bool ieee2bcd(void* p);
// The double nearest to the 8 BCD bytes at p. Nibbles above 9 in a damaged
// field count with their own value, so any eight bytes give a finite number.
double bcd2ieee(unsigned char const* p);
// The exact decimal64 value of the 8 BCD bytes at p (same reading rule).
decimal64 bcd2dfp(unsigned char const* p);
// The double nearest to the decimal64 value whose 8-byte image (BID, host
// order) is at p: the binary number of a decimal field (tag 3).
double bid2ieee(unsigned char const* p);
// The BCD form of a decimal64 value into p[0..7]. Returns false (p untouched)
// unless the value is finite, has at most 14 significant digits and lies in
// the exponent range, so that the conversion is exact.
bool dfp2bcd(decimal64 x, unsigned char* p);

}  // namespace morka
