// RealText: reading and printf of one real in either representation. The binary form is
// snprintf itself. libdfp's strfromd64 accepts only "%.<precision><letter>",
// so the decimal form splits the format into literal text and the one
// conversion, formats the bare number and applies sign flags and width here;
// the '#' flag and length modifiers are accepted and ignored.
// Both forms read and format under the "C" locale (uselocale, for this
// thread only; the process locale for strtod64): the decimal point is always
// '.', which callers swap for the settings' cDecimal, and libdfp does not
// leak the locale copy it makes on every call under any other locale.
#include <velbra/RealMath.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <string>

namespace morka {

namespace {

// Switches this thread to the "C" locale for its lifetime.
class CCLocale {
public:
    CCLocale() : m_old(s_C() ? uselocale(s_C()) : nullptr) {}
    ~CCLocale() {
        if (m_old) uselocale(m_old);
    }
    CCLocale(CCLocale const&) = delete;
    CCLocale& operator=(CCLocale const&) = delete;

private:
    static locale_t s_C() {
        static locale_t const s_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return s_locale;
    }
    locale_t m_old;
};

// Switches the process's numeric locale to "C" for its lifetime when it is
// anything else: libdfp's strtod64 reads the process locale, not the
// thread's, and leaks a locale copy on every call under any other one.
class CCNumericLocale {
public:
    CCNumericLocale() {
        char const* psz = std::setlocale(LC_NUMERIC, nullptr);
        if (!psz || std::strcmp(psz, "C") == 0 || std::strcmp(psz, "POSIX") == 0) return;
        m_sSaved = psz;
        std::setlocale(LC_NUMERIC, "C");
    }
    ~CCNumericLocale() {
        if (!m_sSaved.empty()) std::setlocale(LC_NUMERIC, m_sSaved.c_str());
    }
    CCNumericLocale(CCNumericLocale const&) = delete;
    CCNumericLocale& operator=(CCNumericLocale const&) = delete;

private:
    std::string m_sSaved;
};

}  // namespace

double b_ParseReal(char const* psz, char** ppszEnd, double) {
    CCLocale cLocale;
    return std::strtod(psz, ppszEnd);
}

decimal64 b_ParseReal(char const* psz, char** ppszEnd, decimal64) {
    CCNumericLocale cLocale;
    return strtod64(psz, ppszEnd);
}

int b_RealPrintf(char* pszOut, std::size_t nSize, char const* pszFormat, double x) {
    CCLocale cLocale;
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
    CCLocale cLocale;
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
