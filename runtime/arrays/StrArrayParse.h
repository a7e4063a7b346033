// StrArrayParse: the string cutting behind CBStringMatrix::Split, Parse and
// Path, kept apart from the array so that it is written once for every
// overload. Each returns the elements from subscript 1 on.
#pragma once

#include <morka/CBString.h>
#include <string_view>
#include <vector>

namespace morka {

// Tokens of s between runs of delimiter bytes; with bKeepDelimiters the runs
// become elements too (Parse). Never empty: at least one (empty) element.
std::vector<CBString> b_CutAtDelimiters(std::string_view s, std::string_view delimiters, bool bKeepDelimiters);
// The path layout of CBStringMatrix::Path (subscripts 1 to k + 1).
std::vector<CBString> b_PathElements(CBString const& sPath, int iMode);

}  // namespace morka
