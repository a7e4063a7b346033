// IndexSort: the index sort shared by the three index classes (internal).
// The index receives storage positions of the keys, is sorted in place with
// qsort through a comparison that reads the keys from a process-wide pointer
// of their kind (one per index class and key kind, kept after the sort), and
// then turns positions into subscripts.
// Choices: equal keys keep their storage order (the comparison breaks ties
// by position, so the result is stable and the same on every C library);
// NaN number keys sort after every number; a 16-bit index sorts at most the
// first 32767 keys (larger positions cannot be stored) and leaves the rest of
// the index as it was.
#pragma once

#include <morka/CBString.h>
#include <morka/System.h>
#include <velbra/NumClasses.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace morka {

inline int b_IndexPosition(CInt16 const& e) { return e.iValue; }
inline int b_IndexPosition(CInt32 const& e) { return e.iValue; }
inline int b_IndexPosition(CDfp const& e) { return static_cast<int>(e.xValue); }

inline bool b_KeyIsNan(double x) { return std::isnan(x); }
inline bool b_KeyIsNan(decimal64 x) { return isnand64(x) != 0; }

inline int b_CompareKeys(CInt16 const& a, CInt16 const& b) { return (a.iValue > b.iValue) - (a.iValue < b.iValue); }
inline int b_CompareKeys(CInt32 const& a, CInt32 const& b) { return (a.iValue > b.iValue) - (a.iValue < b.iValue); }
inline int b_CompareKeys(CDfp const& a, CDfp const& b) {
    if (a.xValue < b.xValue) return -1;
    if (a.xValue > b.xValue) return 1;
    // Equal, or a NaN is involved: NaN after every number, NaNs equal.
    return static_cast<int>(b_KeyIsNan(a.xValue)) - static_cast<int>(b_KeyIsNan(b.xValue));
}
// Strings compare as C texts: bytes up to the first NUL, no collation.
inline int b_CompareKeys(CBString const& a, CBString const& b) { return std::strcmp(a.c_str(), b.c_str()); }

// The published key storage of one index class and key kind.
template <class TIndex, class TKey>
inline TKey const* b_pSortKeys = nullptr;

// compare_i16vec, compare_i32vec, compare_dfpvec, compare_strvec of one index
// class: two index elements compare as the keys at the positions they hold.
template <class TIndex, class TKey>
int b_CompareKeyVec(void const* pA, void const* pB) {
    int iA = b_IndexPosition(*static_cast<TIndex const*>(pA));
    int iB = b_IndexPosition(*static_cast<TIndex const*>(pB));
    TKey const* pKeys = b_pSortKeys<TIndex, TKey>;
    int r = b_CompareKeys(pKeys[iA], pKeys[iB]);
    return r ? r : (iA > iB) - (iA < iB);
}

// SortInit: n = min(index count, key count) - z (z = 1 under base 0), at most
// nMaxPosition; the index elements from position z on receive z..z+n-1.
template <class TIndex>
int b_SortInit(TIndex* pIndex, int nIndexCount, int nKeyCount, int nMaxPosition) {
    int z = b_lArrayBase == 0 ? 1 : 0;
    int n = std::min({nIndexCount, nKeyCount, nMaxPosition + z}) - z;
    for (int i = 0; i < n; ++i) pIndex[z + i] = TIndex(z + i);
    return std::max(n, 0);
}

// SortExit: under base 1 positions 0..n-1 become subscripts 1..n; under base
// 0 positions already are subscripts.
template <class TIndex>
void b_SortExit(TIndex* pIndex, int n) {
    if (b_lArrayBase == 0) return;
    for (int i = 0; i < n; ++i) pIndex[i] = TIndex(b_IndexPosition(pIndex[i]) + 1);
}

// The sort step: publishes the keys and sorts the n index elements from
// pFirst on.
template <class TIndex, class TKey>
void b_SortRun(TIndex* pFirst, int n, TKey const* pKeys) {
    b_pSortKeys<TIndex, TKey> = pKeys;
    if (n > 1) std::qsort(pFirst, static_cast<std::size_t>(n), sizeof(TIndex), b_CompareKeyVec<TIndex, TKey>);
}

}  // namespace morka
