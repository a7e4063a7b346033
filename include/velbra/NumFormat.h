// NumFormat: the picture language of Format and PRINT USING. A numeric field
// of a picture is decoded into a using_format record and one formatter writes
// a number into it; a value that does not fit prints the overflow marker
// ("% " and the value in %g form) instead. The decimal point is the settings'
// cDecimal; the group separator is ',' beside a '.' point and '.' otherwise.
#pragma once

#include <cstddef>
#include <morka/CBString.h>
#include <velbra/Flavour.h>
#include <velbra/NumClasses.h>
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

// PRINT USING: the picture walked over the operands of types ('d' 'i' 'l' 's'
// 'z', 'r' an io list, 'p' the print end) on the terminal or a text channel
// (mask 0x110, output). Numeric fields go through the formatter; '!', '\''
// with L R C E, a lone '\'' and \...\ are string fields; other characters
// are copied. Every piece is written as a PRINT block with quote mode off.
// The picture starts again on a new line while operands remain; the walk
// stops where a field finds none. The statement ends as PRINT does. Errors go
// to b_ErrorHandler with the channel (a true answer repeats the statement);
// another letter raises 1030.
void PrintUsing(char const* picture, char const* types, ...);
void PrintUsing(CBString const* picture, char const* types, ...);
void PrintUsing(int channel, char const* picture, char const* types, ...);
void PrintUsing(int channel, CBString const* picture, char const* types, ...);
// PRINT KEY USING: the same into the record buffer of a keyed channel, stored
// under the key as PRINT KEY stores it (record numbers: mask 0x1208; string
// keys: mask 0x806, a key longer than the file's keys raises 1029).
void PrintKeyUsing(int channel, CInt32 key, char const* picture, char const* types, ...);
void PrintKeyUsing(int channel, CInt32 key, CBString const* picture, char const* types, ...);
void PrintKeyUsing(int channel, char const* key, char const* picture, char const* types, ...);
void PrintKeyUsing(int channel, char const* key, CBString const* picture, char const* types, ...);
void PrintKeyUsing(int channel, CBString const* key, char const* picture, char const* types, ...);
void PrintKeyUsing(int channel, CBString const* key, CBString const* picture, char const* types, ...);

}  // namespace morka
