// MatCells: the one walk over the elements of a MAT operand, shared by MAT
// PRINT and MAT INPUT. Rows (and columns) are the given count when it is
// positive and below the upper bound, else the upper bound; elements go row
// by row from index 1. Record arrays are described by their type-map entry:
// pSubMap is the first element's field map, the next ones follow at nStride.
#pragma once

#include <velbra/TypeBase.h>
#include <morka/System.h>

namespace morka {

inline int b_MatLimit(int iGiven, int iUpper) { return iGiven > 0 && iGiven < iUpper ? iGiven : iUpper; }

// Calls fn(element, bLast) for each element of a numeric or string array.
template <class TMatrix, class TFn>
void b_ForEachCell(CItem const& item, TFn&& fn) {
    auto* pArray = static_cast<TMatrix*>(item.pVar);
    if (!pArray) return;
    bool bTwo = pArray->nDims == 2;
    int nRows = b_MatLimit(item.iRows, pArray->Ubound(1));
    int nCols = bTwo ? b_MatLimit(item.iCols, pArray->Ubound(2)) : 1;
    for (int i = 1; i <= nRows; ++i) {
        for (int j = 1; j <= nCols; ++j) {
            auto* pCell = pArray->Cell(i, bTwo ? j : static_cast<int>(b_lArrayBase));
            if (pCell) fn(*pCell, i == nRows && j == nCols);
        }
    }
}

// Calls fn(pMap) with the field map of each element of a record array.
template <class TFn>
void b_ForEachRecord(CItem const& item, TFn&& fn) {
    CTypeMap const* pEntry = item.pMap;
    if (!pEntry || !pEntry->pSubMap || !pEntry->piDim1) return;
    int z = b_lArrayBase == 0 ? 1 : 0;
    int nDims = pEntry->piDims ? *pEntry->piDims : 1;
    int iDim1 = *pEntry->piDim1;
    int iDim2 = nDims == 2 && pEntry->piDim2 ? *pEntry->piDim2 : 1;
    int nRows = b_MatLimit(item.iRows, iDim1 - z);
    int nCols = nDims == 2 ? b_MatLimit(item.iCols, iDim2 - z) : 1;
    auto const* pFirst = reinterpret_cast<char const*>(pEntry->pSubMap);
    for (int i = 1; i <= nRows; ++i) {
        for (int j = 1; j <= nCols; ++j) {
            long long iCell = nDims == 2 ? static_cast<long long>(i - b_lArrayBase) * iDim2 + (j - b_lArrayBase)
                                         : i - b_lArrayBase;
            fn(reinterpret_cast<CTypeMap const*>(pFirst + iCell * item.nStride));
        }
    }
}

}  // namespace morka
