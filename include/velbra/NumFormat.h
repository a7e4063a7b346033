// NumFormat: the picture language of Format and PRINT USING. A numeric field
// of a picture is decoded into a using_format record and one formatter writes
// a number into it; a value that does not fit prints the overflow marker
// ("% " and the value in %g form) instead. The decimal point is the settings'
// cDecimal; the group separator is ',' beside a '.' point and '.' otherwise.
#pragma once

#include <cstddef>
#include <morka/CBString.h>
#include <velbra/Flavour.h>
#include <velbra/UsingFormat.h>

namespace morka {

// Appends the field for x to *pOut (the overflow marker when x does not fit
// or the picture cannot show it). Consumes *pFormat.
void b_Format(CBString* pOut, using_format* pFormat, dfp_t x);
// Sets *pOut to the overflow marker of x: "% " and x in %g form.
void b_WrongFormat(CBString* pOut, dfp_t x);
// snprintf of x with one real conversion in pszFormat, then the first '.'
// becomes the settings' decimal point. Returns the snprintf count.
int b_PrintDecimal(char* pszBuf, unsigned long nSize, char const* pszFormat, dfp_t x);
CBString b_PrintDecimal(char const* pszFormat, dfp_t x);

// Format: text of the picture up to its first numeric field, that field
// holding x, and the text after it up to the next field; only one number is
// formatted. A picture whose first special character is '!', '\'' or '\\'
// gives the overflow marker of x alone.
CBString b_strformat(dfp_t x, char const* pszPicture);
CBString Format(dfp_t x, char const* pszPicture);
CBString Format(dfp_t x, CBString const& sPicture);
CBString Format(int n, char const* pszPicture);
CBString Format(int n, CBString const& sPicture);

}  // namespace morka
