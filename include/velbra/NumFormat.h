// NumFormat: the picture language of Format and PRINT USING. A numeric field
// of a picture is decoded into a using_format record and one formatter writes
// a number into it; a value that does not fit prints the overflow marker
// ("% " and the value in %g form) instead. The decimal point is the settings'
// cDecimal; the group separator is ',' beside a '.' point and '.' otherwise.
#pragma once

#include <cstddef>
#include <morka/CBString.h>
#include <velbra/Flavour.h>

namespace morka {

// A decoded numeric field. Formatting changes iInteger, iDecimals and
// iExponent, so every value needs a freshly decoded record.
struct using_format {
    unsigned char bDollar = 0;     // floating currency ($$)
    unsigned char bBlankZero = 0;  // zero prints as spaces (ZZ at the start)
    unsigned char bComma = 0;      // group the integer digits by three
    unsigned char bDecoded = 0;    // the field ended normally
    char cSign = 0;                // 0, '+', '-', '>', 'C' (CR), 'D' (DB)
    char cFill = 0;                // ' ', '*', '0' or a field character
    int iDecimals = 0;             // positions after the decimal point
    int iExponent = 0;             // number of '^' (0, or 2..5)
    int iInteger = 0;              // positions before the point, commas included
    int iWidth = 0;                // total width of the field
};

// Decodes the numeric field at *ppszCursor into *pFormat (cleared first).
// Returns 1 and moves *ppszCursor past the field, or 0 when the text there is
// not a numeric field (*ppszCursor unchanged).
int b_DecodeFormat(char const** ppszCursor, using_format* pFormat);
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
