// ArrayWalk: the element walk of arrays, shared by the record codec, DATA
// and the other statements that move whole arrays element by element. Each
// element reaches the visitor as a scalar item ('d', 'i', 'l', 's' with the
// element's address), so the statements handle one shape of operand.
#include <velbra/TypeBase.h>
#include <velbra/Matrix.h>
#include <morka/System.h>

namespace morka {

namespace {

// rows (cols): the given count when it is non-zero and below the upper bound,
// else the upper bound; a negative count transfers nothing.
int s_Count(int iGiven, int iUpper) { return iGiven != 0 && iGiven < iUpper ? iGiven : iUpper; }

template <class TMatrix>
void s_Elements(TMatrix* pArray, char cElement, int rows, int cols, CTypeVisitor& visitor) {
    if (!pArray) return;
    int nRows = s_Count(rows, pArray->Ubound(1));
    int nCols = pArray->nDims == 2 ? s_Count(cols, pArray->Ubound(2)) : 1;
    CItem item;
    item.cType = cElement;
    for (int i = 1; i <= nRows; ++i) {
        for (int j = 1; j <= nCols; ++j) {
            item.pVar = pArray->Cell(i, pArray->nDims == 2 ? j : 0);
            if (item.pVar) visitor.Item(item);
        }
    }
}

}  // namespace

void b_WalkArray(CItem const& item, CTypeVisitor& visitor, t_MapWalk eMapWalk) {
    switch (item.cType) {
    case 'D': s_Elements(static_cast<CDfpMatrix*>(item.pVar), 'd', item.iRows, item.iCols, visitor); return;
    case 'I': s_Elements(static_cast<CInt16Matrix*>(item.pVar), 'i', item.iRows, item.iCols, visitor); return;
    case 'L': s_Elements(static_cast<CInt32Matrix*>(item.pVar), 'l', item.iRows, item.iCols, visitor); return;
    case 'S': s_Elements(static_cast<CBStringMatrix*>(item.pVar), 's', item.iRows, item.iCols, visitor); return;
    case 'C':
    case 'T': b_WalkRecordArray(item.pMap, item.iRows, item.iCols, visitor, eMapWalk); return;
    default: throw static_cast<int>(MORKA_ETYPECODE);
    }
}

}  // namespace morka
