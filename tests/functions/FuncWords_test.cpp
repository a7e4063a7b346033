// Num2words in English and French, in the flavour's arithmetic.
#include <velbra.h>

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace morka;

namespace {

class CLangGuard {
public:
    explicit CLangGuard(char const* pszLang) { setenv("b_lang", pszLang, 1); }
    ~CLangGuard() { unsetenv("b_lang"); }
};

CDfp Real(char const* pszText) {
    if constexpr (b_bDecimalFlavour) return CDfp(strtod64(pszText, nullptr));
    else return CDfp(std::strtod(pszText, nullptr));
}

}  // namespace

TEST(Num2words, English) {
    CLangGuard lang("1");
    struct { char const* id; char const* pszValue; char const* pszWords; } const aCases[] = {
        {"en-0", "0", "zero"},                    {"en-15", "15", "fifteen"},
        {"en-105", "105", "one hundred five"},    {"en-1000", "1000", "one thousand"},
        {"en-1050", "1050", "one thousand fifty"}, {"en-1e6", "1000000", "one million"},
        {"en-2000001", "2000001", "two million one"}, {"en-neg", "-42.9", "forty two"},
        {"en-fraction-only", "0.99", "zero"},     {"en-teens-tens", "919", "nine hundred nineteen"},
        {"en-groups", "1002003004", "one billion two million three thousand four"},
        {"en-hundred-thousand", "700000", "seven hundred thousand"},
        {"en-beyond-int64", "12000000000000000000", "twelve quintillion"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(Num2words(Real(c.pszValue)).str(), c.pszWords);
    }
    EXPECT_EQ(Num2words(-21LL).str(), "twenty one");
    EXPECT_EQ(Num2words(NAN).str(), "zero");
    EXPECT_EQ(Num2words(-INFINITY).str(), "zero");
    // The decimal overload writes the exact digits of a decimal64 (16 of them).
    EXPECT_EQ(Num2words(strtod64("1234567890123456", nullptr)).str(),
              "one quadrillion two hundred thirty four trillion five hundred sixty seven billion eight hundred "
              "ninety million one hundred twenty three thousand four hundred fifty six");
    EXPECT_EQ(Num2words(strtod64("1e36", nullptr)).str(), "one lots");
    EXPECT_EQ(Num2words(strtod64("2e33", nullptr)).str(), "two lots");
    EXPECT_EQ(Num2words(strtod64("3e30", nullptr)).str(), "three nintillion");
}

TEST(Num2words, French) {
    CLangGuard lang("2");
    struct { char const* id; char const* pszValue; char const* pszWords; } const aCases[] = {
        {"fr-0", "0", "z\xC9ro"},                {"fr-21", "21", "vingt et un"},
        {"fr-71", "71", "soixante et onze"},     {"fr-72", "72", "soixante douze"},
        {"fr-80", "80", "quatre-vingt"},         {"fr-81", "81", "quatre-vingt un"},
        {"fr-90", "90", "quatre-vingt-dix"},     {"fr-99", "99", "quatre-vingt dix-neuf"},
        {"fr-200", "200", "deux cents"},         {"fr-201", "201", "deux cent un"},
        {"fr-1000", "1000", "mille"},            {"fr-2000000", "2000000", "deux millions"},
        {"fr-1e9", "1000000000", "un milliard"}, {"fr-2001000000", "2001000000", "deux milliards un million"},
        {"fr-neg", "-17.5", "dix-sept"},         {"fr-1001", "1001", "mille un"},
        {"fr-2000", "2000", "deux mille"},       {"fr-200000", "200000", "deux cents mille"},
        {"fr-billion", "3000000000000", "trois billions"},
        {"fr-1e15", "1000000000000000", "mille billions"},
        {"fr-beyond", "2000000000000001", "deux mille billions un"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(Num2words(Real(c.pszValue)).str(), c.pszWords);
    }
    EXPECT_EQ(french_ftos(-110).str(), "cent dix");
    EXPECT_EQ(french_ftos(0).str(), "z\xC9ro");
}
