// Utf8: the one UTF-8 codec of the system layer. Decoding is strict (no
// overlong forms, no surrogates, nothing above U+10FFFF) and bounded by the
// end pointer; each malformed byte decodes as U+FFFD on its own.
#include <morka/CharsetConv.h>

namespace morka {

void t_utf8append(std::string& sOut, wchar_t wc) {
    auto u = static_cast<unsigned long>(wc);
    if (wc < 0 || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) u = 0xFFFD;
    if (u < 0x80) {
        sOut += static_cast<char>(u);
    } else if (u < 0x800) {
        sOut += static_cast<char>(0xC0 | (u >> 6));
        sOut += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        sOut += static_cast<char>(0xE0 | (u >> 12));
        sOut += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        sOut += static_cast<char>(0xF0 | (u >> 18));
        sOut += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        sOut += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (u & 0x3F));
    }
}

int t_utf8more(unsigned char c) {
    return c < 0x80 ? 0 : c >= 0xC2 && c < 0xE0 ? 1 : c >= 0xE0 && c < 0xF0 ? 2 : c >= 0xF0 && c < 0xF5 ? 3 : -1;
}

wchar_t t_utf8next(char const** ppText, char const* pEnd) {
    auto const* p = reinterpret_cast<unsigned char const*>(*ppText);
    auto const* pStop = reinterpret_cast<unsigned char const*>(pEnd);
    if (p >= pStop) return 0;
    unsigned c = *p;
    int nMore = t_utf8more(static_cast<unsigned char>(c));
    unsigned long u = nMore == 0 ? c : nMore == 1 ? (c & 0x1F) : nMore == 2 ? (c & 0x0F) : (c & 0x07);
    bool bOk = nMore >= 0 && pStop - p > nMore;
    for (int i = 1; bOk && i <= nMore; ++i) {
        if ((p[i] & 0xC0) != 0x80) bOk = false;
        u = (u << 6) | (p[i] & 0x3F);
    }
    if (bOk && ((nMore == 2 && (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF))) ||
                (nMore == 3 && (u < 0x10000 || u > 0x10FFFF)))) {
        bOk = false;
    }
    if (!bOk) {
        *ppText += 1;
        return static_cast<wchar_t>(0xFFFD);
    }
    *ppText += nMore + 1;
    return static_cast<wchar_t>(u);
}

}  // namespace morka
