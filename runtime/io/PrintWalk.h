// PrintWalk: the PRINT walk over the items that b_WalkTypes hands over,
// shared by PRINT, MAT PRINT, PRINT KEY and MAT PRINT KEY. It renders each
// item through a CPrintOut and keeps the statement's state: whether an io
// list was printed and the carriage-control line end that is pending.
#pragma once

#include <velbra/PrintOut.h>
#include <velbra/TypeBase.h>

namespace morka {

// The letters PRINT and PRINT KEY accept, and those of the MAT forms.
inline constexpr char b_kPrintLetters[] = "cdilprstz\t";
inline constexpr char b_kMatLetters[] = "CDILST";

class CPrintWalk : public CTypeVisitor {
public:
    // pszTypes: the statement's type string (its length decides whether a
    // carriage-control line end is deferred).
    CPrintWalk(CPrintOut& out, char const* pszTypes);
    void Item(CItem const& item) override;
    void ListDone() override { m_bList = true; }
    // End of the statement: the line end owed after an io list, the line
    // state of the channel, a flush point.
    void Finish();

private:
    void EndLetter(int e);
    void Array(CItem const& item);

    CPrintOut& m_out;
    bool m_bLongTypes;
    bool m_bList = false;
};

// Runs the PRINT walk (or, bMat, the MAT PRINT walk) of types over the
// arguments into out, ending with the statement's line state and a flush
// point. PRINT with no items writes nothing and leaves the line as it was.
void b_PrintWalk(CPrintOut& out, char const* types, va_list* pAp, bool bMat);

// Stores the record a PRINT KEY statement built in pFile's record buffer: the
// rest of the buffer zero-filled, then the driver's write, waiting for a
// record another program holds (1024 past the OPTION LOCK limit).
void b_StoreKeyRecord(QXFILE* pFile);

}  // namespace morka
