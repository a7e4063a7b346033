// StrMatch: the wildcard matcher (syntax in StrMatch.h). One pass over the
// text that remembers only the last '*': a mismatch retries from there with
// one more character swallowed, which bounds the work by text x pattern.
#include <morka/StrMatch.h>

#include <string_view>

namespace morka {

namespace {

// Matches one text byte against the set starting at pattern[iPos] ('[');
// returns the position after the set, or npos when the set has no closing ']'
// (then '[' is an ordinary byte). bMatch receives the answer.
std::size_t s_MatchSet(std::string_view pattern, std::size_t iPos, unsigned char c, bool& bMatch) {
    std::size_t i = iPos + 1;
    bool bNegate = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (bNegate) ++i;
    std::size_t iFirst = i;
    bool bFound = false;
    while (i < pattern.size() && (pattern[i] != ']' || i == iFirst)) {
        auto lo = static_cast<unsigned char>(pattern[i]);
        auto hi = lo;
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            hi = static_cast<unsigned char>(pattern[i + 2]);
            i += 2;
        }
        if (c >= lo && c <= hi) bFound = true;
        ++i;
    }
    if (i >= pattern.size()) return std::string_view::npos;
    bMatch = bFound != bNegate;
    return i + 1;
}

bool s_Match(std::string_view text, std::string_view pattern) {
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t pStar = std::string_view::npos;
    std::size_t tStar = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            pStar = ++p;
            tStar = t;
            continue;
        }
        bool bMatch = false;
        std::size_t pNext = p + 1;
        if (p < pattern.size()) {
            auto c = static_cast<unsigned char>(text[t]);
            if (pattern[p] == '?') {
                bMatch = true;
            } else if (pattern[p] == '[') {
                std::size_t pAfter = s_MatchSet(pattern, p, c, bMatch);
                if (pAfter == std::string_view::npos) bMatch = c == '[';
                else pNext = pAfter;
            } else {
                bMatch = static_cast<unsigned char>(pattern[p]) == c;
            }
        }
        if (bMatch) {
            ++t;
            p = pNext;
        } else if (pStar != std::string_view::npos) {
            p = pStar;
            t = ++tStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool strmatch(char const* pszText, char const* pszPattern) {
    return s_Match(pszText ? pszText : "", pszPattern ? pszPattern : "");
}

bool strmatch(CBString const& sText, CBString const& sPattern) { return s_Match(sText.view(), sPattern.view()); }

}  // namespace morka
