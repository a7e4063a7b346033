// Lang: the language code from b_lang or the locale variables. An unknown
// b_lang value is ignored (the locale decides), never an error.
#include <morka/Lang.h>

#include <cctype>
#include <cstdlib>
#include <initializer_list>

namespace morka {

namespace {

// Language of a name by its first two letters; -1 when unknown.
int s_LangOfName(char const* psz) {
    if (!psz || !psz[0] || !psz[1]) return -1;
    char a = static_cast<char>(std::tolower(static_cast<unsigned char>(psz[0])));
    char b = static_cast<char>(std::tolower(static_cast<unsigned char>(psz[1])));
    if (a == 'e' && b == 'n') return LANG_ENGLISH;
    if (a == 'f' && b == 'r') return LANG_FRENCH;
    if ((a == 'd' && b == 'e') || (a == 'g' && b == 'e')) return LANG_GERMAN;
    if (a == 's' && b == 'y') return LANG_SYSTEM;
    return -1;
}

}  // namespace

int getlang() {
    char const* pszLang = std::getenv("b_lang");
    if (pszLang && pszLang[0] >= '0' && pszLang[0] <= '3' && pszLang[1] == '\0') return pszLang[0] - '0';
    int iLang = s_LangOfName(pszLang);
    if (iLang >= 0) return iLang;
    for (char const* pszVar : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        char const* psz = std::getenv(pszVar);
        if (!psz || !*psz) continue;
        iLang = s_LangOfName(psz);
        return iLang == LANG_FRENCH || iLang == LANG_GERMAN ? iLang : LANG_ENGLISH;
    }
    return LANG_ENGLISH;
}

}  // namespace morka
