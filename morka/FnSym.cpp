// FnSym: the $NAME symbols of file-name parts (rules in FnSym.h).
#include <morka/FnSym.h>

#include <cctype>
#include <cstdlib>

namespace morka {

namespace {

CBString s_Translate(char const* pszPart) {
    if (!pszPart) return CBString();
    if (pszPart[0] != '$' || pszPart[1] == '\0') return CBString(pszPart);
    for (char const* p = pszPart + 1; *p; ++p) {
        if (!std::isalnum(static_cast<unsigned char>(*p)) && *p != '_') return CBString(pszPart);
    }
    char const* pszValue = std::getenv(pszPart + 1);
    return CBString(pszValue && *pszValue ? pszValue : pszPart);
}

}  // namespace

CBString t_strfnsym(char const* pszPart) { return s_Translate(pszPart); }
CBString t_strsrcfnsym(char const* pszPart) { return s_Translate(pszPart); }
CBString t_strdstfnsym(char const* pszPart) { return s_Translate(pszPart); }

}  // namespace morka
