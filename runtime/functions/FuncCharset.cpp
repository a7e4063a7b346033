// FuncCharset: the conversion functions, one system-layer converter each,
// chosen by the active set. With the Zezir set active ToCp850 reads Zezir
// text, and FromZezir (MORKA active), ToMorka and FromMorka (Zezir active)
// convert between the two sets: each function reads its argument in the set
// it names or in the active one, whichever set that is.
#include <velbra/FuncCharset.h>

#include <morka/CharsetConv.h>
#include <morka/Settings.h>

namespace morka {

namespace {

using t_Converter = CBString (*)(CBString const&);

bool s_MorkaActive() { return Morka.iCharset == CHARSET_MORKA; }

CBString s_Convert(char const* psz, t_Converter pMorka, t_Converter pZezir) {
    CBString s(psz);
    t_Converter p = s_MorkaActive() ? pMorka : pZezir;
    return p ? p(s) : s;
}

}  // namespace

CBString ToCp850(char const* psz) { return s_Convert(psz, t_strmorka2cp850, t_strzezir2cp850); }
CBString FromCp850(char const* psz) { return s_Convert(psz, t_strcp8502morka, t_strcp8502zezir); }
CBString ToIso8859(char const* psz) { return s_Convert(psz, t_strmorka2lt9, t_strzezir2lt9); }
CBString FromIso8859(char const* psz) { return s_Convert(psz, t_strlt92morka, t_strlt92zezir); }
CBString ToWin1252(char const* psz) { return s_Convert(psz, t_strmorka2win, t_strzezir2win); }
CBString FromWin1252(char const* psz) { return s_Convert(psz, t_strwin2morka, t_strwin2zezir); }
CBString ToUnicode(char const* psz) { return s_Convert(psz, t_strmorka2wchar, t_strzezir2wchar); }
CBString ToUtf8(char const* psz) { return s_Convert(psz, t_strmorka2utf8, t_strzezir2utf8); }
CBString FromUtf8(char const* psz) { return s_Convert(psz, t_strutf82morka, t_strutf82zezir); }
CBString ToZezir(char const* psz) { return s_Convert(psz, t_strmorka2zezir, nullptr); }
CBString FromZezir(char const* psz) { return s_Convert(psz, t_strzezir2morka, nullptr); }
CBString ToMorka(char const* psz) { return s_Convert(psz, nullptr, t_strzezir2morka); }
CBString FromMorka(char const* psz) { return s_Convert(psz, nullptr, t_strmorka2zezir); }

CBString FromUnicode(char const* psz) {
    auto const* pws = reinterpret_cast<wchar_t const*>(psz);
    return s_MorkaActive() ? t_strwchar2morka(pws) : t_strwchar2zezir(pws);
}

}  // namespace morka
