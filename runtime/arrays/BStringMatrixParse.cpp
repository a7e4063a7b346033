// BStringMatrixParse: Split, Parse, Path and Join of CBStringMatrix. Results
// start at subscript 1 whatever the base (element 0 stays empty under base
// 0); a two-dimensional array keeps two dimensions and fills column 1. Join
// clamps its range to the array: a range past the last element, or one that
// ends before it starts, reads nothing outside it.
#include <velbra/Matrix.h>

#include "StrArrayParse.h"

#include <algorithm>

namespace morka {

namespace {

void s_Store(CBStringMatrix& a, std::vector<CBString> const& aElements) {
    int n = static_cast<int>(aElements.size());
    a.Redim(n, a.nDims == 1 ? 0 : 1);
    a = "";
    for (int i = 1; i <= n; ++i) a(i, 1) = aElements[static_cast<std::size_t>(i - 1)];
}

}  // namespace

void CBStringMatrix::Split(CBString const& s, CBString const& delimiters) {
    s_Store(*this, b_CutAtDelimiters(s.view(), delimiters.view(), false));
}
void CBStringMatrix::Split(CBString const& s, char const* delimiters) { Split(s, CBString(delimiters)); }
void CBStringMatrix::Split(char const* s, CBString const& delimiters) { Split(CBString(s), delimiters); }
void CBStringMatrix::Split(char const* s, char const* delimiters) { Split(CBString(s), CBString(delimiters)); }

void CBStringMatrix::Parse(CBString const& s, CBString const& delimiters) {
    s_Store(*this, b_CutAtDelimiters(s.view(), delimiters.view(), true));
}
void CBStringMatrix::Parse(CBString const& s, char const* delimiters) { Parse(s, CBString(delimiters)); }
void CBStringMatrix::Parse(char const* s, CBString const& delimiters) { Parse(CBString(s), delimiters); }
void CBStringMatrix::Parse(char const* s, char const* delimiters) { Parse(CBString(s), CBString(delimiters)); }

void CBStringMatrix::Path(CBString const& path, int mode) { s_Store(*this, b_PathElements(path, mode)); }

CBString CBStringMatrix::Join(int from, int to) const {
    int base = static_cast<int>(b_lArrayBase);
    int nCount = iDim1 * iDim2;
    int iLast = nCount - 1 + base;
    int iFirst = std::max(from, base);
    if (to == -1 || to > iLast) to = iLast;
    CBString sOut;
    for (int i = iFirst; i <= to; ++i) sOut += pData[i - base];
    return sOut;
}

CBString Join(CBStringMatrix& a, int from, int to) { return a.Join(from, to); }

}  // namespace morka
