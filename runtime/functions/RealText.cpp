// RealText: printf of one real in either representation. The binary form is
// snprintf itself. libdfp's strfromd64 accepts only "%.<precision><letter>",
// so the decimal form splits the format into literal text and the one
// conversion, formats the bare number and applies sign flags and width here;
// the '#' flag and length modifiers are accepted and ignored.
#include <velbra/RealMath.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace morka {

int b_RealPrintf(char* pszOut, std::size_t nSize, char const* pszFormat, double x) {
    return std::snprintf(pszOut, nSize, pszFormat, x);
}

namespace {

// The parts of one conversion specification.
struct CConversion {
    bool bLeft = false;
    bool bPlus = false;
    bool bSpace = false;
    bool bZero = false;
    int nWidth = 0;
    int nPrecision = -1;
    char cLetter = 0;
};

// Parses the specification after a '%'; returns the position after it, or
// null when the text there is not a real conversion.
char const* s_ParseConversion(char const* p, CConversion& conv) {
    for (;; ++p) {
        if (*p == '-') conv.bLeft = true;
        else if (*p == '+') conv.bPlus = true;
        else if (*p == ' ') conv.bSpace = true;
        else if (*p == '0') conv.bZero = true;
        else if (*p != '#') break;
    }
    while (*p >= '0' && *p <= '9' && conv.nWidth < 10000) conv.nWidth = conv.nWidth * 10 + (*p++ - '0');
    if (*p == '.') {
        conv.nPrecision = 0;
        for (++p; *p >= '0' && *p <= '9'; ++p)
            if (conv.nPrecision < 1000) conv.nPrecision = conv.nPrecision * 10 + (*p - '0');
    }
    while (*p && std::strchr("lLhHD", *p)) ++p;
    if (!*p || !std::strchr("aAeEfFgG", *p)) return nullptr;
    conv.cLetter = *p;
    return p + 1;
}

std::string s_FormatNumber(CConversion const& conv, decimal64 x) {
    char szSpec[16];
    if (conv.nPrecision >= 0)
        std::snprintf(szSpec, sizeof szSpec, "%%.%d%c", conv.nPrecision, conv.cLetter);
    else
        std::snprintf(szSpec, sizeof szSpec, "%%%c", conv.cLetter);
    char aBuf[512];
    aBuf[0] = '\0';
    int n = strfromd64(aBuf, sizeof aBuf, szSpec, x);
    // libdfp writes "inf" and "nan" but answers 0 for them.
    if (n == 0) n = static_cast<int>(std::strlen(aBuf));
    std::string sNumber;
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof aBuf) {
        sNumber.assign(aBuf, static_cast<std::size_t>(n));
    } else if (n > 0) {
        sNumber.resize(static_cast<std::size_t>(n) + 1);
        strfromd64(sNumber.data(), sNumber.size(), szSpec, x);
        sNumber.resize(static_cast<std::size_t>(n));
    }
    bool bNegative = !sNumber.empty() && sNumber[0] == '-';
    std::string sSign;
    if (bNegative) {
        sSign = "-";
        sNumber.erase(0, 1);
    } else if (conv.bPlus) {
        sSign = "+";
    } else if (conv.bSpace) {
        sSign = " ";
    }
    std::size_t nText = sSign.size() + sNumber.size();
    std::size_t nPad = conv.nWidth > 0 && static_cast<std::size_t>(conv.nWidth) > nText
                           ? static_cast<std::size_t>(conv.nWidth) - nText : 0;
    if (conv.bLeft) return sSign + sNumber + std::string(nPad, ' ');
    if (conv.bZero && !b_IsNan(x) && !b_IsInf(x)) return sSign + std::string(nPad, '0') + sNumber;
    return std::string(nPad, ' ') + sSign + sNumber;
}

}  // namespace

int b_RealPrintf(char* pszOut, std::size_t nSize, char const* pszFormat, decimal64 x) {
    std::string sText;
    bool bDone = false;
    for (char const* p = pszFormat ? pszFormat : ""; *p;) {
        if (*p != '%') {
            sText += *p++;
            continue;
        }
        if (p[1] == '%') {
            sText += '%';
            p += 2;
            continue;
        }
        CConversion conv;
        char const* pNext = bDone ? nullptr : s_ParseConversion(p + 1, conv);
        if (!pNext) {
            sText += *p++;
            continue;
        }
        sText += s_FormatNumber(conv, x);
        bDone = true;
        p = pNext;
    }
    if (nSize > 0) {
        std::size_t n = sText.size() < nSize ? sText.size() : nSize - 1;
        std::memcpy(pszOut, sText.data(), n);
        pszOut[n] = '\0';
    }
    return static_cast<int>(sText.size());
}

}  // namespace morka
