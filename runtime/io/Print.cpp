// Print: PRINT and MAT PRINT on the terminal or a text channel, and the
// PRINT walk they share with PRINT KEY. A print end after an io list is
// consumed from the argument list even when b_bConformToDoc is false and the
// end is skipped, so the operands that follow stay in step.
#include "runtime/io/MatPrint.h"
#include "runtime/io/PrintWalk.h"

#include <velbra/FileApi.h>
#include <velbra/Print.h>
#include <morka/morka.h>

#include <cstring>

namespace morka {

CPrintWalk::CPrintWalk(CPrintOut& out, char const* pszTypes)
    : m_out(out), m_bLongTypes(pszTypes && std::strlen(pszTypes) > 1) {}

void CPrintWalk::Item(CItem const& item) {
    switch (item.cType) {
    case 'd':
        m_out.Number(static_cast<CDfp const*>(item.pVar)->xValue);
        break;
    case 'i':
        m_out.Integer(*static_cast<CInt16 const*>(item.pVar));
        break;
    case 'l':
        m_out.Integer(*static_cast<CInt32 const*>(item.pVar));
        break;
    case 's': {
        auto const* ps = static_cast<CBString const*>(item.pVar);
        if (ps) m_out.Block(ps->data(), ps->length());
        break;
    }
    case 'z': {
        auto const* psz = static_cast<char const*>(item.pVar);
        if (psz) m_out.Block(psz, static_cast<int>(std::strlen(psz)));
        break;
    }
    case '\t':
        m_out.Tab(item.iEnd);
        break;
    case 'p':
        EndLetter(item.iEnd);
        break;
    default:
        // An array met inside a record: the whole array, nothing between
        // its elements but what its numbers carry.
        b_MatPrintItem(m_out, item, false);
        break;
    }
}

void CPrintWalk::EndLetter(int e) {
    if (m_bList && !b_bConformToDoc) return;
    QXFILE* f = m_out.File();
    if (m_out.CarriageControl() && e == 2 && m_bLongTypes) {
        f->bEndOfRecord = 1;
        return;
    }
    m_out.End(e);
    if (m_out.Terminal() || (e != 1 && e != 2)) m_out.Flush();
}

void CPrintWalk::Finish() {
    QXFILE* f = m_out.File();
    bool bPending = m_out.CarriageControl() && f->bEndOfRecord;
    if (m_bList && !bPending && !b_bConformToDoc) m_out.End(2);
    if (!m_out.CarriageControl()) f->bEndOfRecord = 0;
    m_out.Flush();
}

void b_PrintWalk(CPrintOut& out, char const* types, va_list* pAp, bool bMat) {
    QXFILE* pFile = out.File();
    if (bMat) {
        CMatPrintWalk walk(out);
        b_WalkTypes(types, pAp, t_Pass::Output, b_kMatLetters, true, walk, pFile);
        walk.Finish();
    } else if (types && *types) {
        CPrintWalk walk(out, types);
        b_WalkTypes(types, pAp, t_Pass::Output, b_kPrintLetters, false, walk, pFile);
        walk.Finish();
    }
}

namespace {

void s_Print(int channel, char const* types, va_list ap, bool bMat) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_OUTPUT);
        CVaCopy args(ap);
        CPrintOut out(pFile);
        b_PrintWalk(out, types, args.Get(), bMat);
    });
}

}  // namespace

void Print(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Print(0, types, ap, false);
    va_end(ap);
}

void Print(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Print(channel, types, ap, false);
    va_end(ap);
}

void MatPrint(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Print(0, types, ap, true);
    va_end(ap);
}

void MatPrint(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Print(channel, types, ap, true);
    va_end(ap);
}

}  // namespace morka
