// UsingFormat: the decoded numeric field of a picture and its decoder. The
// decoder reads only the picture text, so it is kept apart from the formatter
// and its arithmetic.
#pragma once

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

}  // namespace morka
