// FnSym: symbols in file names. A part of a file name in the system's form
// (library, directory or name) that reads $NAME, NAME made of letters, digits
// and '_', stands for the environment value of NAME (a logical name); an
// unset or empty NAME, and every other part, is kept as written. The value is
// not translated again (no chains, no loops). The source and destination
// forms say on which side of a copy or rename the name stands: they apply the
// same rule and keep the wildcards '*', '?' and the destination placeholder
// '=' as written.
#pragma once

#include <morka/CBString.h>

namespace morka {

// Each takes one NUL-terminated part (null: empty result).
CBString t_strfnsym(char const* pszPart);
CBString t_strsrcfnsym(char const* pszPart);
CBString t_strdstfnsym(char const* pszPart);

}  // namespace morka
