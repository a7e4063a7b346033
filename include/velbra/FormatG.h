// FormatG: printf's "%.<P>G" for the BASIC reals, fast. The double form gives
// the very digits of the system library's printf (std::to_chars); the
// decimal64 form writes the decimal's own digits (no detour through binary),
// rounded half to even. Letters are upper case ("1E+20", "INF", "NAN").
#pragma once

#include <velbra/Flavour.h>

namespace morka {

// Buffer size that every result fits in, with its NUL.
inline constexpr int b_kFormatGSize = 40;

// Writes x in the "%.<nPrecision>G" form into pBuf (b_kFormatGSize bytes) with
// a NUL; returns the length. nPrecision 0 counts as 1.
int b_FormatG(char* pBuf, double x, int nPrecision);
int b_FormatG(char* pBuf, decimal64 x, int nPrecision);

}  // namespace morka
