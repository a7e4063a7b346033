// Helpers of the built-in function tests: exact reals from text, a guard
// that restores the settings and locale a test changes, and a comparison of
// reals that states the value in the failure text.
#pragma once

#include <velbra.h>

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace morka {

// The real written in text (with '.'), exactly as the flavour reads it (a
// decimal literal stays decimal in the decimal flavour).
inline dfp_t X(char const* psz) { return b_ParseReal(psz, nullptr, dfp_t{}); }

// The value as "%.17g" (binary) or "%.16g" (decimal) for failure messages.
inline std::string Txt(dfp_t x) {
    char aBuf[64];
    b_RealPrintf(aBuf, sizeof aBuf, b_bDecimalFlavour ? "%.16g" : "%.17g", x);
    return aBuf;
}

// Restores the settings the function tests change, the numeric locale, the
// angle mode and the logical flag.
class CSettingsGuard {
public:
    CSettingsGuard() : m_saved(Morka), m_ucDegree(b_Degree), m_bLogical(b_bLogical) {}
    ~CSettingsGuard() {
        Morka = m_saved;
        b_Degree = m_ucDegree;
        b_bLogical = m_bLogical;
        std::setlocale(LC_NUMERIC, "C");
    }

private:
    CMorkaSettings m_saved;
    unsigned char m_ucDegree;
    bool m_bLogical;
};

}  // namespace morka
