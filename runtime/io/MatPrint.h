// MatPrint: the MAT PRINT walk, and the printing of one array operand (also
// used for an array met inside a record). Elements are visited from index 1
// whatever the array base, row by row, up to the given rows and columns when
// they are positive and below the upper bounds (else up to the bounds).
#pragma once

#include <velbra/PrintOut.h>
#include <velbra/TypeBase.h>

namespace morka {

// Prints the array of item ('C' 'D' 'I' 'L' 'S' 'T'): the operand's print end
// (item.iEnd) between elements of numbers and strings, after every element of
// records.
void b_MatPrintItem(CPrintOut& out, CItem const& item, bool bMat);

class CMatPrintWalk : public CTypeVisitor {
public:
    explicit CMatPrintWalk(CPrintOut& out) : m_out(out) {}
    void Item(CItem const& item) override;
    // The line end after the last operand (not after a record array that
    // ended with a line end), then a flush point.
    void Finish();

private:
    CPrintOut& m_out;
    bool m_bAny = false;
    bool m_bEndedLine = false;
};

}  // namespace morka
