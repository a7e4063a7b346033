// StrMatch: the wildcard matcher of the system (BASIC Match, control-code
// names, file-name patterns). The pattern must match the whole text:
//   *       any run of characters, the empty one included
//   ?       exactly one character
//   [set]   one character of the set; a-z inside gives a range (by byte
//           value), a leading ! or ^ negates the set, a ] right after the
//           opening [ (or after the negation) is a member
// Every other byte, and a [ without its closing ], stands for itself. There
// is no escape character (\ separates file-name parts): [*], [?] and [[]
// match the characters themselves. Bytes compare exactly (case counts).
// Matching takes at most text length x pattern length steps.
#pragma once

#include <morka/CBString.h>

namespace morka {

// True when pszText matches pszPattern; a null pointer reads as "".
bool strmatch(char const* pszText, char const* pszPattern);
// The same on every byte of both strings (embedded NUL bytes included).
bool strmatch(CBString const& sText, CBString const& sPattern);

}  // namespace morka
