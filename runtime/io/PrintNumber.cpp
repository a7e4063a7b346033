// PrintNumber: the text of a number in PRINT. Integers go through
// std::to_chars, reals through b_FormatG (the flavour's own digits).
#include <velbra/PrintOut.h>
#include <velbra/FormatG.h>
#include <morka/Settings.h>

#include <charconv>

namespace morka {

int b_PrintNumberText(char* pBuf, dfp_t x, bool bQuote) {
    bool bNegative = x < 0;
    // BASIC has no negative zero: -0 prints as 0.
    if (x == 0) x = 0;
    char* p = pBuf;
    if (!bNegative && !bQuote) *p++ = ' ';
    char* pDigits = p;
    p += b_FormatG(p, x, bNegative || bQuote ? 14 : 13);
    if (Morka.cDecimal != '.')
        for (char* q = pDigits; q < p; ++q)
            if (*q == '.') *q = Morka.cDecimal;
    if (!bQuote) *p++ = ' ';
    *p = 0;
    return static_cast<int>(p - pBuf);
}

int b_PrintIntegerText(char* pBuf, int n, bool bQuote) {
    char* p = pBuf;
    if (n >= 0 && !bQuote) *p++ = ' ';
    p = std::to_chars(p, pBuf + 20, n).ptr;
    if (!bQuote) *p++ = ' ';
    *p = 0;
    return static_cast<int>(p - pBuf);
}

}  // namespace morka
