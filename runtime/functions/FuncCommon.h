// FuncCommon: small helpers shared by the built-in function modules only.
#pragma once

#include <string_view>

namespace morka {

// A char const* argument as a view; a null pointer reads as the empty string.
inline std::string_view b_View(char const* psz) { return psz ? std::string_view(psz) : std::string_view(); }

}  // namespace morka
