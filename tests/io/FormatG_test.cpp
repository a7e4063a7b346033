// %G without snprintf: the double form must give printf's very digits; the
// decimal form the decimal's own digits, rounded half to even.
#include <velbra/FormatG.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

using namespace morka;

namespace {

std::string s_G(double x, int p) {
    char a[b_kFormatGSize];
    int n = b_FormatG(a, x, p);
    EXPECT_EQ(n, static_cast<int>(std::strlen(a)));
    return a;
}

std::string s_G(decimal64 x, int p) {
    char a[b_kFormatGSize];
    int n = b_FormatG(a, x, p);
    EXPECT_EQ(n, static_cast<int>(std::strlen(a)));
    return a;
}

std::string s_Printf(double x, int p) {
    char a[64];
    std::snprintf(a, sizeof a, "%.*G", p, x);
    return a;
}

// The reference for decimals: libdfp's %E does the rounding (its %G rounds
// wrongly in fixed notation); the %G layout is put together here.
std::string s_Dfp(decimal64 x, int p) {
    char szFormat[16];
    std::snprintf(szFormat, sizeof szFormat, "%%.%dE", p - 1);
    char a[64];
    strfromd64(a, sizeof a, szFormat, x);
    std::string sE(a);
    std::string sSign = sE[0] == '-' ? "-" : "";
    if (!sSign.empty()) sE.erase(0, 1);
    std::size_t iE = sE.find('E');
    int X = std::atoi(sE.c_str() + iE + 1);
    std::string sDigits = sE.substr(0, 1) + (iE > 2 ? sE.substr(2, iE - 2) : "");
    while (sDigits.size() > 1 && sDigits.back() == '0') sDigits.pop_back();
    std::string s;
    if (X >= -4 && X < p) {
        if (X >= 0) {
            sDigits.resize(std::max(sDigits.size(), static_cast<std::size_t>(X + 1)), '0');
            s = sDigits.substr(0, static_cast<std::size_t>(X + 1));
            if (sDigits.size() > static_cast<std::size_t>(X + 1)) s += "." + sDigits.substr(static_cast<std::size_t>(X + 1));
        } else {
            s = "0." + std::string(static_cast<std::size_t>(-X - 1), '0') + sDigits;
        }
    } else {
        char szExp[16];
        std::snprintf(szExp, sizeof szExp, "E%c%02d", X < 0 ? '-' : '+', X < 0 ? -X : X);
        s = sDigits.substr(0, 1) + (sDigits.size() > 1 ? "." + sDigits.substr(1) : "") + szExp;
    }
    return sSign + s;
}

decimal64 s_Dec(char const* psz) { return strtod64(psz, nullptr); }

}  // namespace

TEST(FormatG, DoubleGivesPrintfDigits) {
    double const aSpecial[] = {0.0, -0.0, 1.0, 0.1, 2.0 / 3, -2.0 / 3, 1e20, 1e-5, 0.0001, 0.00001234,
                               9999999999999.5, 999999999999.95, 123456789012345.0, 1e300, -1e-300, 5e-324,
                               std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), std::nan("")};
    for (double x : aSpecial)
        for (int p : {1, 13, 14}) {
            SCOPED_TRACE(s_Printf(x, 17));
            EXPECT_EQ(s_G(x, p), s_Printf(x, p));
        }
    std::mt19937_64 rng(20260115);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    int nMismatch = 0;
    for (int i = 0; i < 200000; ++i) {
        uint64_t u = rng();
        double x;
        std::memcpy(&x, &u, sizeof x);
        if (i % 2) x = mantissa(rng) * std::pow(10.0, exponent(rng));
        if (std::isnan(x)) continue;
        for (int p : {13, 14}) nMismatch += s_G(x, p) != s_Printf(x, p);
    }
    EXPECT_EQ(nMismatch, 0);
}

TEST(FormatG, DecimalGivesItsOwnDigits) {
    struct {
        char const* pszId;
        char const* pszValue;
        int p;
        char const* pszText;
    } const aCases[] = {
        {"d-tenth", "0.1", 13, "0.1"},
        {"d-third", "0.6666666666666667", 13, "0.6666666666667"},
        {"d-neg", "-0.6666666666666667", 14, "-0.66666666666667"},
        {"d-big", "1E20", 13, "1E+20"},
        {"d-wide", "123456789012345", 13, "1.234567890123E+14"},
        {"d-small", "0.00001234", 13, "1.234E-05"},
        {"d-edge", "0.0001", 13, "0.0001"},
        {"d-trailing", "2.500", 13, "2.5"},
        {"d-int", "100", 13, "100"},
        {"d-even-down", "1234567890124.5", 13, "1234567890124"},
        {"d-even-up", "1234567890123.5", 13, "1234567890124"},
        {"d-carry", "9999999999999.5", 13, "1E+13"},
        {"d-carry-small", "0.000099999999999995", 13, "0.0001"},
        {"d-zero", "0", 13, "0"},
        {"d-exp3", "1E-300", 13, "1E-300"},
        {"d-inf", "INF", 13, "INF"},
        {"d-nan", "NAN", 13, "NAN"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(s_G(s_Dec(c.pszValue), c.p), c.pszText);
    }
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<long long> coeff(1, 9999999999999999LL);
    std::uniform_int_distribution<int> exponent(-40, 20);
    int nMismatch = 0, nCompared = 0;
    for (int i = 0; i < 100000; ++i) {
        char szText[48];
        long long c = coeff(rng) / static_cast<long long>(std::pow(10, static_cast<int>(rng() % 12)));
        std::snprintf(szText, sizeof szText, "%s%lldE%d", (i & 1) ? "-" : "", c, exponent(rng));
        decimal64 x = s_Dec(szText);
        for (int p : {13, 14}) {
            ++nCompared;
            if (s_G(x, p) != s_Dfp(x, p) && nMismatch++ < 8) ADD_FAILURE() << szText << " p=" << p << ": " << s_G(x, p) << " vs " << s_Dfp(x, p);
        }
    }
    EXPECT_EQ(nCompared, 200000);
    EXPECT_EQ(nMismatch, 0);
}
