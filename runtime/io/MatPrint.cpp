// MatPrint: arrays in PRINT. Record arrays are described by their type-map
// entry: pSubMap is the first element's field map, the elements' maps follow
// at nSize bytes, piDims/piDim1/piDim2 give the shape. The four array classes
// are printed element by element through Cell.
#include "runtime/io/MatPrint.h"
#include "runtime/io/PrintWalk.h"

#include <velbra/Matrix.h>
#include <morka/System.h>

namespace morka {

namespace {

int s_Limit(int iGiven, int iUpper) { return iGiven > 0 && iGiven < iUpper ? iGiven : iUpper; }

void s_RecordArray(CPrintOut& out, CItem const& item) {
    CTypeMap const* pEntry = item.pMap;
    if (!pEntry || !pEntry->pSubMap || !pEntry->piDim1) return;
    int z = b_lArrayBase == 0 ? 1 : 0;
    int nDims = pEntry->piDims ? *pEntry->piDims : 1;
    int iDim1 = *pEntry->piDim1;
    int iDim2 = nDims == 2 && pEntry->piDim2 ? *pEntry->piDim2 : 1;
    int nRows = s_Limit(item.iRows, iDim1 - z);
    int nCols = nDims == 2 ? s_Limit(item.iCols, iDim2 - z) : 1;
    auto const* pFirst = reinterpret_cast<char const*>(pEntry->pSubMap);
    for (int i = 1; i <= nRows; ++i) {
        for (int j = 1; j <= nCols; ++j) {
            long long iCell = nDims == 2 ? static_cast<long long>(i - b_lArrayBase) * iDim2 + (j - b_lArrayBase)
                                         : i - b_lArrayBase;
            auto const* pMap = reinterpret_cast<CTypeMap const*>(pFirst + iCell * item.nStride);
            CPrintWalk walk(out, "");
            b_WalkMap(pMap, walk);
            out.End(item.iEnd);
        }
    }
}

// The elements of a numeric or string array, the operand's end between them.
template <class TMatrix, class TPrint>
void s_Array(CPrintOut& out, CItem const& item, TPrint&& print) {
    auto* pArray = static_cast<TMatrix*>(item.pVar);
    if (!pArray) return;
    bool bTwo = pArray->nDims == 2;
    int nRows = s_Limit(item.iRows, pArray->Ubound(1));
    int nCols = bTwo ? s_Limit(item.iCols, pArray->Ubound(2)) : 1;
    for (int i = 1; i <= nRows; ++i) {
        for (int j = 1; j <= nCols; ++j) {
            auto* pCell = pArray->Cell(i, bTwo ? j : static_cast<int>(b_lArrayBase));
            if (!pCell) continue;
            print(*pCell);
            if (i < nRows || j < nCols) out.End(item.iEnd);
        }
    }
}

}  // namespace

void b_MatPrintItem(CPrintOut& out, CItem const& item, bool) {
    switch (item.cType) {
    case 'C':
    case 'T':
        s_RecordArray(out, item);
        break;
    case 'D':
        s_Array<CDfpMatrix>(out, item, [&](CDfp const& x) { out.Number(x.xValue); });
        break;
    case 'I':
        s_Array<CInt16Matrix>(out, item, [&](CInt16 const& n) { out.Integer(n); });
        break;
    case 'L':
        s_Array<CInt32Matrix>(out, item, [&](CInt32 const& n) { out.Integer(n); });
        break;
    case 'S':
        s_Array<CBStringMatrix>(out, item, [&](CBString const& s) { out.Block(s.data(), s.length()); });
        break;
    default:
        out.File()->iErrno = MORKA_ETYPECODE;
        throw static_cast<int>(MORKA_ETYPECODE);
    }
}

void CMatPrintWalk::Item(CItem const& item) {
    b_MatPrintItem(m_out, item, true);
    m_bAny = true;
    m_bEndedLine = (item.cType == 'C' || item.cType == 'T') && item.iEnd == 2;
}

void CMatPrintWalk::Finish() {
    if (m_bAny && !m_bEndedLine) m_out.End(2);
    m_out.Flush();
}

}  // namespace morka
