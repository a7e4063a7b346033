// FuncWords: Num2words in English and French. Both work on the decimal digit
// text of the integer part, so every value of either flavour is written
// exactly. Choices for open points: French zero is "zéro" with é as the
// system sets' byte 201; numbers of 10^15 or more write the part above the
// billions in words in front of "billion(s)"; NaN and infinities read as 0.
#include <velbra/FuncWords.h>

#include <morka/Lang.h>
#include <velbra/NumClasses.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace morka {

namespace {

char const* const s_apszOnes[] = {"", "one ", "two ", "three ", "four ", "five ", "six ", "seven ", "eight ", "nine "};
char const* const s_apszTens[] = {"", "", "twenty ", "thirty ", "forty ", "fifty ", "sixty ", "seventy ", "eighty ", "ninety "};
char const* const s_apszTeens[] = {"ten ", "eleven ", "twelve ", "thirteen ", "fourteen ", "fifteen ", "sixteen ",
                                   "seventeen ", "eighteen ", "nineteen "};
char const* const s_apszLevels[] = {"", "thousand ", "million ", "billion ", "trillion ", "quadrillion ",
                                    "quintillion ", "sextillion ", "septillion ", "octillion ", "nintillion ", "lots "};
constexpr int LEVEL_LOTS = 11;

char const* const s_apszUnite[] = {"", " un", " deux", " trois", " quatre", " cinq", " six", " sept", " huit",
                                   " neuf", " dix", " onze", " douze", " treize", " quatorze", " quinze", " seize",
                                   " dix-sept", " dix-huit", " dix-neuf"};
char const* const s_apszDizaine[] = {"", " dix", " vingt", " trente", " quarante", " cinquante", " soixante",
                                     " soixante", " quatre-vingt", " quatre-vingt"};
constexpr char const* FRENCH_ZERO = "z\xC9ro";

int s_Digit(std::string_view s, std::size_t i) { return s[i] - '0'; }

// Digits without leading zeros ("0" for zero).
std::string s_Strip(std::string_view sDigits) {
    std::size_t i = sDigits.find_first_not_of('0');
    return i == std::string_view::npos ? "0" : std::string(sDigits.substr(i));
}

CBString s_English(std::string const& sDigits) {
    if (sDigits == "0") return CBString("zero");
    std::string s = std::string((3 - sDigits.size() % 3) % 3, '0') + sDigits;
    std::size_t nGroups = s.size() / 3;
    std::string sOut;
    for (std::size_t g = 0; g < nGroups; ++g) {
        int h = s_Digit(s, 3 * g), t = s_Digit(s, 3 * g + 1), u = s_Digit(s, 3 * g + 2);
        if (h) (sOut += s_apszOnes[h]) += "hundred ";
        if (t != 1) sOut += s_apszTens[t];
        sOut += t == 1 ? s_apszTeens[u] : s_apszOnes[u];
        std::size_t iLevel = nGroups - 1 - g;
        if (iLevel > 0 && (h || t || u)) sOut += s_apszLevels[iLevel < LEVEL_LOTS ? iLevel : LEVEL_LOTS];
    }
    if (!sOut.empty()) sOut.pop_back();
    return CBString(sOut);
}

// One French group of three digits (value 1-999).
void s_FrenchGroup(std::string& sOut, int h, int t, int u) {
    if (h == 1) sOut += " cent";
    if (h >= 2) {
        (sOut += s_apszUnite[h]) += " cent";
        // dialect quirk: "cents" whenever the group ends in 00, also before "mille".
        if (t == 0 && u == 0) sOut += "s";
    }
    if (t == 0) {
        sOut += s_apszUnite[u];
    } else if (t == 1) {
        sOut += s_apszUnite[10 + u];
    } else if (t <= 6) {
        sOut += s_apszDizaine[t];
        sOut += u == 1 ? " et un" : s_apszUnite[u];
    } else if (t == 7 || t == 9) {
        sOut += s_apszDizaine[t];
        if (u == 0) sOut += "-dix";
        else if (t == 7 && u == 1) sOut += " et onze";
        else sOut += s_apszUnite[10 + u];
    } else {
        (sOut += " quatre-vingt") += s_apszUnite[u];
    }
}

// The words of a non-zero number, each preceded by one space.
void s_French(std::string& sOut, std::string const& sDigits) {
    std::string s = sDigits;
    if (s.size() > 15) {
        // Past the 15-digit layout: the part above the billions in words.
        std::string sHigh = s_Strip(std::string_view(s).substr(0, s.size() - 12));
        s_French(sOut, sHigh);
        sOut += sHigh == "1" ? " billion" : " billions";
        s = "000" + s.substr(s.size() - 12);
    }
    s = std::string(15 - s.size(), '0') + s;
    char const* const apszNames[] = {" billion", " milliard", " million", " mille", ""};
    for (int g = 0; g < 5; ++g) {
        int h = s_Digit(s, 3 * g), t = s_Digit(s, 3 * g + 1), u = s_Digit(s, 3 * g + 2);
        int iValue = 100 * h + 10 * t + u;
        if (iValue == 0) continue;
        if (g == 3 && iValue == 1) {
            sOut += " mille";
            continue;
        }
        s_FrenchGroup(sOut, h, t, u);
        sOut += apszNames[g];
        if (g < 3 && iValue >= 2) sOut += "s";
    }
}

CBString s_FrenchWords(std::string const& sDigits) {
    if (sDigits == "0") return CBString(FRENCH_ZERO);
    std::string sOut;
    s_French(sOut, sDigits);
    // Every word carries its own single leading space: dropping the first one
    // is all the trimming the text needs.
    return CBString(sOut.substr(1));
}

CBString s_Words(std::string const& sDigits) {
    return getlang() == LANG_FRENCH ? s_FrenchWords(sDigits) : s_English(sDigits);
}

}  // namespace

CBString Num2words(double x) {
    if (!std::isfinite(x)) return s_Words("0");
    char aBuf[400];
    std::snprintf(aBuf, sizeof aBuf, "%.0f", std::trunc(std::fabs(x)));
    return s_Words(s_Strip(aBuf));
}

CBString Num2words(decimal64 x) {
    if (isnand64(x) || isinfd64(x)) return s_Words("0");
    char aBuf[512];
    strfromd64(aBuf, sizeof aBuf, "%.0f", truncd64(fabsd64(x)));
    return s_Words(s_Strip(aBuf));
}

CBString Num2words(CDfp const& x) { return Num2words(x.xValue); }

CBString Num2words(long long n) {
    unsigned long long u = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    return s_Words(std::to_string(u));
}

CBString french_ftos(long n) {
    unsigned long long u = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    return s_FrenchWords(std::to_string(u));
}

}  // namespace morka
