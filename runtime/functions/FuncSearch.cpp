// FuncSearch: case conversion, Replace, Sch, Rsch, Match and the character
// class predicates. Searches answer 1-based positions, 0 when nothing is
// found; an empty search text is found at the search position (Sch, Rsch)
// and makes Replace return s unchanged. Case, classes and the wildcard syntax
// are the system layer's, which follow the active character set.
#include <velbra/FuncStr.h>
#include "FuncCommon.h"

#include <morka/CharClass.h>
#include <morka/StrMatch.h>

#include <string>
#include <string_view>

namespace morka {

namespace {

CBString s_Upper(std::string_view s) {
    CBString r(s);
    return t_strupr(r);
}

CBString s_Lower(std::string_view s) {
    CBString r(s);
    return t_strlwr(r);
}

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

int s_Match(std::string_view s, std::string_view pattern) { return strmatch(CBString(s), CBString(pattern)) ? -1 : 0; }

}  // namespace

CBString Ucase(CBString const& s) { return s_Upper(s.view()); }
CBString Ucase(char const* s) { return s_Upper(b_View(s)); }
CBString Lcase(CBString const& s) { return s_Lower(s.view()); }
CBString Lcase(char const* s) { return s_Lower(b_View(s)); }

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

int Isalnum(CBString const& s) { return s_Is(s.view(), t_isalnum); }
int Isalnum(char const* s) { return s_Is(b_View(s), t_isalnum); }
int Isalpha(CBString const& s) { return s_Is(s.view(), t_isalpha); }
int Isalpha(char const* s) { return s_Is(b_View(s), t_isalpha); }
int Isdigit(CBString const& s) { return s_Is(s.view(), t_isdigit); }
int Isdigit(char const* s) { return s_Is(b_View(s), t_isdigit); }
int Islower(CBString const& s) { return s_Is(s.view(), t_islower); }
int Islower(char const* s) { return s_Is(b_View(s), t_islower); }
int Isprint(CBString const& s) { return s_Is(s.view(), t_isprint); }
int Isprint(char const* s) { return s_Is(b_View(s), t_isprint); }
int Isspace(CBString const& s) { return s_Is(s.view(), t_isspace); }
int Isspace(char const* s) { return s_Is(b_View(s), t_isspace); }
int Issymbol(CBString const& s) { return s_Is(s.view(), t_issymbol); }
int Issymbol(char const* s) { return s_Is(b_View(s), t_issymbol); }
int Isupper(CBString const& s) { return s_Is(s.view(), t_isupper); }
int Isupper(char const* s) { return s_Is(b_View(s), t_isupper); }

}  // namespace morka
