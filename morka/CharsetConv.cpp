// CharsetConv: the text converters between the system sets and CP850,
// ISO 8859-15, Windows-1252, UTF-8 and wide characters. Every conversion goes
// through Unicode: the external tables are read from iconv once (byte by
// byte), so no external code page is written out by hand here; a byte the
// external encoding leaves undefined reads as U+FFFD and converts to '?'.
#include "CharsetCodes.h"

#include <morka/CharsetConv.h>
#include <morka/Settings.h>
#include <morka/System.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>

namespace morka {

namespace {

constexpr char const* s_apszIconvNames[EXT_COUNT] = {"IBM850", "ISO-8859-15", "CP1252"};

CCodeTable s_ReadExternal(char const* pszName) {
    iconv_t cd = iconv_open("UTF-32LE", pszName);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw static_cast<int>(MORKA_ECHARSET);
    CCodeTable t;
    for (int c = 0; c < 256; ++c) {
        char chIn = static_cast<char>(c);
        unsigned char aOut[8] = {};
        char* pIn = &chIn;
        char* pOut = reinterpret_cast<char*>(aOut);
        std::size_t nIn = 1;
        std::size_t nOut = sizeof aOut;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
        if (r == static_cast<std::size_t>(-1) || nIn != 0 || sizeof aOut - nOut != 4) {
            t.aToWide[c] = WCHAR_NONE;
        } else {
            t.aToWide[c] = static_cast<wchar_t>(aOut[0] | aOut[1] << 8 | aOut[2] << 16 | aOut[3] << 24);
        }
    }
    iconv_close(cd);
    t.BuildReverse();
    return t;
}

std::string s_ToWide(std::string_view s, CCodeTable const& from) {
    std::string sOut(sizeof(wchar_t) * (s.size() + 1), '\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        wchar_t wc = from.aToWide[static_cast<unsigned char>(s[i])];
        std::memcpy(sOut.data() + i * sizeof(wchar_t), &wc, sizeof wc);
    }
    return sOut;
}

std::string s_FromWide(wchar_t const* pws, CCodeTable const& to) {
    std::string sOut;
    if (!pws) return sOut;
    // The units may sit at any address (FromUnicode hands over bytes).
    auto const* p = reinterpret_cast<char const*>(pws);
    for (;; p += sizeof(wchar_t)) {
        wchar_t wc;
        std::memcpy(&wc, p, sizeof wc);
        if (wc == 0) break;
        to.Encode(sOut, wc);
    }
    return sOut;
}

std::string s_ToUtf8(std::string_view s, CCodeTable const& from) {
    std::string sOut;
    sOut.reserve(s.size() + s.size() / 4);
    for (char ch : s) t_utf8append(sOut, from.aToWide[static_cast<unsigned char>(ch)]);
    return sOut;
}

std::string s_FromUtf8(std::string_view s, CCodeTable const& to) {
    std::string sOut;
    sOut.reserve(s.size());
    char const* p = s.data();
    char const* pEnd = p + s.size();
    while (p < pEnd) to.Encode(sOut, t_utf8next(&p, pEnd));
    return sOut;
}

struct CChannelMap {
    unsigned char aOut[256];
    unsigned char aIn[256];
};

CChannelMap s_MakeChannelMap() {
    CChannelMap m{};
    CCodeTable const& sys = t_MorkaCodes();
    CCodeTable const& ext = t_ExternalCodes(EXT_LT9);
    bool abTaken[256] = {};
    bool abMapped[256] = {};
    for (int c = 0; c < 256; ++c) {
        int e = c < 128 ? c : ext.Find(sys.aToWide[c]);
        if (e >= 0 && !abTaken[e]) {
            m.aOut[c] = static_cast<unsigned char>(e);
            abTaken[e] = abMapped[c] = true;
        }
    }
    // The characters without an ISO 8859-15 code fill its free codes in order.
    int e = 0;
    for (int c = 0; c < 256; ++c) {
        if (abMapped[c]) continue;
        while (abTaken[e]) ++e;
        m.aOut[c] = static_cast<unsigned char>(e);
        abTaken[e] = true;
    }
    for (int c = 0; c < 256; ++c) m.aIn[m.aOut[c]] = static_cast<unsigned char>(c);
    return m;
}

CChannelMap const& s_ChannelMap() {
    static CChannelMap const s_map = s_MakeChannelMap();
    return s_map;
}

}  // namespace

CCodeTable const& t_ExternalCodes(t_ExtCode e) {
    static std::unique_ptr<CCodeTable> s_apTables[EXT_COUNT];
    if (!s_apTables[e]) s_apTables[e] = std::make_unique<CCodeTable>(s_ReadExternal(s_apszIconvNames[e]));
    return *s_apTables[e];
}

CBString t_strmorka2cp850(CBString const& s) { return t_Recode(s.view(), t_MorkaCodes(), t_ExternalCodes(EXT_CP850)); }
CBString t_strzezir2cp850(CBString const& s) { return t_Recode(s.view(), t_ZezirCodes(), t_ExternalCodes(EXT_CP850)); }
CBString t_strcp8502morka(CBString const& s) { return t_Recode(s.view(), t_ExternalCodes(EXT_CP850), t_MorkaCodes()); }
CBString t_strcp8502zezir(CBString const& s) { return t_Recode(s.view(), t_ExternalCodes(EXT_CP850), t_ZezirCodes()); }
CBString t_strmorka2lt9(CBString const& s) { return t_Recode(s.view(), t_MorkaCodes(), t_ExternalCodes(EXT_LT9)); }
CBString t_strzezir2lt9(CBString const& s) { return t_Recode(s.view(), t_ZezirCodes(), t_ExternalCodes(EXT_LT9)); }
CBString t_strlt92morka(CBString const& s) { return t_Recode(s.view(), t_ExternalCodes(EXT_LT9), t_MorkaCodes()); }
CBString t_strlt92zezir(CBString const& s) { return t_Recode(s.view(), t_ExternalCodes(EXT_LT9), t_ZezirCodes()); }
CBString t_strmorka2win(CBString const& s) { return t_Recode(s.view(), t_MorkaCodes(), t_ExternalCodes(EXT_WIN1252)); }
CBString t_strzezir2win(CBString const& s) { return t_Recode(s.view(), t_ZezirCodes(), t_ExternalCodes(EXT_WIN1252)); }
CBString t_strwin2morka(CBString const& s) { return t_Recode(s.view(), t_ExternalCodes(EXT_WIN1252), t_MorkaCodes()); }
CBString t_strwin2zezir(CBString const& s) { return t_Recode(s.view(), t_ExternalCodes(EXT_WIN1252), t_ZezirCodes()); }
CBString t_strmorka2zezir(CBString const& s) { return t_Recode(s.view(), t_MorkaCodes(), t_ZezirCodes()); }
CBString t_strzezir2morka(CBString const& s) { return t_Recode(s.view(), t_ZezirCodes(), t_MorkaCodes()); }

CBString t_strmorka2utf8(CBString const& s) { return s_ToUtf8(s.view(), t_MorkaCodes()); }
CBString t_strzezir2utf8(CBString const& s) { return s_ToUtf8(s.view(), t_ZezirCodes()); }
CBString t_strutf82morka(CBString const& s) { return s_FromUtf8(s.view(), t_MorkaCodes()); }
CBString t_strutf82zezir(CBString const& s) { return s_FromUtf8(s.view(), t_ZezirCodes()); }
CBString t_strsys2utf8(CBString const& s) { return s_ToUtf8(s.view(), t_SystemCodes(Morka.iCharset)); }
CBString t_strutf82sys(CBString const& s) { return s_FromUtf8(s.view(), t_SystemCodes(Morka.iCharset)); }

CBString t_strmorka2wchar(CBString const& s) { return s_ToWide(s.view(), t_MorkaCodes()); }
CBString t_strzezir2wchar(CBString const& s) { return s_ToWide(s.view(), t_ZezirCodes()); }
CBString t_strwchar2morka(wchar_t const* pws) { return s_FromWide(pws, t_MorkaCodes()); }
CBString t_strwchar2zezir(wchar_t const* pws) { return s_FromWide(pws, t_ZezirCodes()); }

int t_chrsys2ext(int c) { return s_ChannelMap().aOut[c & 0xFF]; }
int t_chrext2sys(int c) { return s_ChannelMap().aIn[c & 0xFF]; }
unsigned char const* t_SysToExtTable() { return s_ChannelMap().aOut; }
unsigned char const* t_ExtToSysTable() { return s_ChannelMap().aIn; }

}  // namespace morka
