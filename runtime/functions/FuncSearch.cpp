// FuncSearch: case conversion, Replace, Sch, Rsch, Match and the character
// class predicates. Searches answer 1-based positions, 0 when nothing is
// found; an empty search text is found at the search position (Sch, Rsch)
// and makes Replace return s unchanged.
// The case mapping, the classes and the wildcard matcher belong to the active
// character set; until that layer is wired in, the s_Ascii* helpers below
// stand in for t_strupr/t_strlwr, t_isalnum..t_isupper and strmatch (plain
// ASCII; the matcher knows '*' any run and '?' any one byte).
#include <velbra/FuncStr.h>
#include "FuncCommon.h"

#include <string>
#include <string_view>

namespace morka {

namespace {


CBString s_AsciiUpper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return CBString(std::move(r));
}

CBString s_AsciiLower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return CBString(std::move(r));
}

// Wildcard match with backtracking to the last '*' only: linear in
// |s| x |pattern| at worst, never recursive.
bool s_AsciiMatch(std::string_view s, std::string_view pattern) {
    std::size_t i = 0, j = 0;
    std::size_t iStar = std::string_view::npos, iMark = 0;
    while (i < s.size()) {
        if (j < pattern.size() && (pattern[j] == '?' || pattern[j] == s[i])) {
            ++i;
            ++j;
        } else if (j < pattern.size() && pattern[j] == '*') {
            iStar = j++;
            iMark = i;
        } else if (iStar != std::string_view::npos) {
            j = iStar + 1;
            i = ++iMark;
        } else {
            return false;
        }
    }
    while (j < pattern.size() && pattern[j] == '*') ++j;
    return j == pattern.size();
}

bool s_AsciiIsUpper(int c) { return c >= 'A' && c <= 'Z'; }
bool s_AsciiIsLower(int c) { return c >= 'a' && c <= 'z'; }
bool s_AsciiIsDigit(int c) { return c >= '0' && c <= '9'; }
bool s_AsciiIsAlpha(int c) { return s_AsciiIsUpper(c) || s_AsciiIsLower(c); }
bool s_AsciiIsAlnum(int c) { return s_AsciiIsAlpha(c) || s_AsciiIsDigit(c); }
bool s_AsciiIsPrint(int c) { return c >= 32 && c < 127; }
bool s_AsciiIsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool s_AsciiIsSymbol(int c) { return s_AsciiIsPrint(c) && c != ' ' && !s_AsciiIsAlnum(c); }

int s_Is(std::string_view s, bool (*pfnClass)(int)) {
    if (s.empty()) return 0;
    return pfnClass(static_cast<unsigned char>(s[0])) ? -1 : 0;
}

CBString s_Replace(std::string_view s, std::string_view find, std::string_view with) {
    if (find.empty()) return CBString(s);
    std::string r;
    r.reserve(s.size());
    std::size_t i = 0;
    for (std::size_t j; (j = s.find(find, i)) != std::string_view::npos; i = j + find.size()) {
        r.append(s.substr(i, j - i));
        r.append(with);
    }
    r.append(s.substr(i));
    return CBString(std::move(r));
}

int s_Sch(int start, std::string_view s, std::string_view find) {
    if (start < 1) start = 1;
    if (static_cast<std::size_t>(start) > s.size()) return 0;
    std::size_t i = s.find(find, static_cast<std::size_t>(start) - 1);
    return i == std::string_view::npos ? 0 : static_cast<int>(i) + 1;
}

int s_Rsch(int start, std::string_view s, std::string_view find) {
    std::size_t iPos = start >= 1 && static_cast<std::size_t>(start) <= s.size() ? static_cast<std::size_t>(start) : s.size();
    if (iPos == 0) return 0;
    std::size_t i = s.rfind(find, iPos - 1);
    return i == std::string_view::npos ? 0 : static_cast<int>(i) + 1;
}

int s_Match(std::string_view s, std::string_view pattern) { return s_AsciiMatch(s, pattern) ? -1 : 0; }

}  // namespace

CBString Ucase(CBString const& s) { return s_AsciiUpper(s.view()); }
CBString Ucase(char const* s) { return s_AsciiUpper(b_View(s)); }
CBString Lcase(CBString const& s) { return s_AsciiLower(s.view()); }
CBString Lcase(char const* s) { return s_AsciiLower(b_View(s)); }

CBString Replace(CBString const& s, CBString const& find, CBString const& with) { return s_Replace(s.view(), find.view(), with.view()); }
CBString Replace(CBString const& s, CBString const& find, char const* with) { return s_Replace(s.view(), find.view(), b_View(with)); }
CBString Replace(CBString const& s, char const* find, CBString const& with) { return s_Replace(s.view(), b_View(find), with.view()); }
CBString Replace(CBString const& s, char const* find, char const* with) { return s_Replace(s.view(), b_View(find), b_View(with)); }
CBString Replace(char const* s, CBString const& find, CBString const& with) { return s_Replace(b_View(s), find.view(), with.view()); }
CBString Replace(char const* s, CBString const& find, char const* with) { return s_Replace(b_View(s), find.view(), b_View(with)); }
CBString Replace(char const* s, char const* find, CBString const& with) { return s_Replace(b_View(s), b_View(find), with.view()); }
CBString Replace(char const* s, char const* find, char const* with) { return s_Replace(b_View(s), b_View(find), b_View(with)); }

int Sch(int start, CBString const& s, CBString const& find) { return s_Sch(start, s.view(), find.view()); }
int Sch(int start, CBString const& s, char const* find) { return s_Sch(start, s.view(), b_View(find)); }
int Sch(int start, char const* s, CBString const& find) { return s_Sch(start, b_View(s), find.view()); }
int Sch(int start, char const* s, char const* find) { return s_Sch(start, b_View(s), b_View(find)); }

int Rsch(int start, CBString const& s, CBString const& find) { return s_Rsch(start, s.view(), find.view()); }
int Rsch(int start, CBString const& s, char const* find) { return s_Rsch(start, s.view(), b_View(find)); }
int Rsch(int start, char const* s, CBString const& find) { return s_Rsch(start, b_View(s), find.view()); }
int Rsch(int start, char const* s, char const* find) { return s_Rsch(start, b_View(s), b_View(find)); }

int Match(CBString const& s, CBString const& pattern) { return s_Match(s.view(), pattern.view()); }
int Match(CBString const& s, char const* pattern) { return s_Match(s.view(), b_View(pattern)); }
int Match(char const* s, CBString const& pattern) { return s_Match(b_View(s), pattern.view()); }
int Match(char const* s, char const* pattern) { return s_Match(b_View(s), b_View(pattern)); }

int Isalnum(CBString const& s) { return s_Is(s.view(), s_AsciiIsAlnum); }
int Isalnum(char const* s) { return s_Is(b_View(s), s_AsciiIsAlnum); }
int Isalpha(CBString const& s) { return s_Is(s.view(), s_AsciiIsAlpha); }
int Isalpha(char const* s) { return s_Is(b_View(s), s_AsciiIsAlpha); }
int Isdigit(CBString const& s) { return s_Is(s.view(), s_AsciiIsDigit); }
int Isdigit(char const* s) { return s_Is(b_View(s), s_AsciiIsDigit); }
int Islower(CBString const& s) { return s_Is(s.view(), s_AsciiIsLower); }
int Islower(char const* s) { return s_Is(b_View(s), s_AsciiIsLower); }
int Isprint(CBString const& s) { return s_Is(s.view(), s_AsciiIsPrint); }
int Isprint(char const* s) { return s_Is(b_View(s), s_AsciiIsPrint); }
int Isspace(CBString const& s) { return s_Is(s.view(), s_AsciiIsSpace); }
int Isspace(char const* s) { return s_Is(b_View(s), s_AsciiIsSpace); }
int Issymbol(CBString const& s) { return s_Is(s.view(), s_AsciiIsSymbol); }
int Issymbol(char const* s) { return s_Is(b_View(s), s_AsciiIsSymbol); }
int Isupper(CBString const& s) { return s_Is(s.view(), s_AsciiIsUpper); }
int Isupper(char const* s) { return s_Is(b_View(s), s_AsciiIsUpper); }

}  // namespace morka
