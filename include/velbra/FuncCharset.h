// FuncCharset: character-set conversion functions of the language. Each
// converts between the active system set (Morka.iCharset: 512 MORKA, any
// other value Zezir) and an external encoding through one converter of the
// system layer (CharsetConv.h, which also says what becomes of characters the
// target lacks). A null argument gives an empty string.
#pragma once

#include <morka/CBString.h>

namespace morka {

// Text of the active set to and from DOS code page 850.
CBString ToCp850(char const* psz);
CBString FromCp850(char const* psz);
// ISO 8859-15 (Latin-9).
CBString ToIso8859(char const* psz);
CBString FromIso8859(char const* psz);
// Windows-1252.
CBString ToWin1252(char const* psz);
CBString FromWin1252(char const* psz);
// Wide characters: ToUnicode returns the wchar_t units followed by one NUL
// unit; FromUnicode reads its argument as a wchar_t string up to its NUL unit
// (at any alignment).
CBString ToUnicode(char const* psz);
CBString FromUnicode(char const* psz);
// UTF-8.
CBString ToUtf8(char const* psz);
CBString FromUtf8(char const* psz);
// Between the active set and the Zezir or MORKA set; a copy when the two are
// the same set.
CBString ToZezir(char const* psz);
CBString FromZezir(char const* psz);
CBString ToMorka(char const* psz);
CBString FromMorka(char const* psz);

// File names: VirtualFile gives the system's form of a Linux path
// (t_linux_fn_2_morka_fn(name, 0)), LinuxFile the Linux path of a name in the
// system's form (t_morka_fn_2_linux_fn(name); empty when the name is
// malformed or names no file). A null name gives an empty string.
CBString VirtualFile(char const* name);
CBString LinuxFile(char const* name);

}  // namespace morka
