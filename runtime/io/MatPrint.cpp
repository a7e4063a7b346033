// MatPrint: arrays in PRINT. The elements of the four array classes and of
// record arrays are walked by MatCells.h; numbers and strings get the
// operand's end between them, record elements after each one.
#include "runtime/io/MatCells.h"
#include "runtime/io/MatPrint.h"
#include "runtime/io/PrintWalk.h"

#include <velbra/Matrix.h>
#include <morka/System.h>

namespace morka {

namespace {

void s_RecordArray(CPrintOut& out, CItem const& item) {
    b_ForEachRecord(item, [&](CTypeMap const* pMap) {
        CPrintWalk walk(out, "");
        b_WalkMap(pMap, walk);
        out.End(item.iEnd);
    });
}

// The elements of a numeric or string array, the operand's end between them.
template <class TMatrix, class TPrint>
void s_Array(CPrintOut& out, CItem const& item, TPrint&& print) {
    b_ForEachCell<TMatrix>(item, [&](auto const& cell, bool bLast) {
        print(cell);
        if (!bLast) out.End(item.iEnd);
    });
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
