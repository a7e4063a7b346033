// UsingWalk: the picture walk of PRINT USING, apart from the channel. The
// statement collects its operands into CUsingValue records and hands the
// output pieces to a sink that writes them through PRINT's block writer.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include <velbra/Flavour.h>

namespace morka {

struct QXFILE;

// One operand: 'd' (x), 'i' or 'l' (n), 's' or 'z' (sText).
struct CUsingValue {
    char cType = 0;
    dfp_t x = 0;
    long n = 0;
    std::string_view sText;
};

class CUsingSink {
public:
    virtual ~CUsingSink() = default;
    // One piece of text (a field or a run of literal picture characters).
    virtual void Text(std::string_view sPiece) = 0;
    // The line end written before the picture starts again.
    virtual void LineEnd() = 0;
};

// Walks pszPicture over the nValues operands, handing every piece of output
// to sink. Stops when a field finds no operand left; starts the picture again
// on a new line while operands remain and the last pass took one.
void b_UsingWalk(char const* pszPicture, CUsingValue const* aValues, std::size_t nValues, CUsingSink& sink);

// Collects the operands of a PRINT USING statement from its type-code
// letters (d i l s z, r an IoList, p the print end) into *paValues and the
// print end into *piEnd (-1 when the statement has none). A 'd' reached
// through an IoList whose value is the largest finite real counts as 0.
// Raises 1030 for any other letter.
// pFile (when given) receives iErrno before 1030 is raised.
void b_CollectUsing(char const* pszTypes, va_list* pAp, std::vector<CUsingValue>* paValues, int* piEnd,
                    QXFILE* pFile = nullptr);

// The mismatch marker of a number in a string field: "% " and the number as
// PRINT writes it outside quote mode (b_PrintNumberText, b_PrintIntegerText).
std::string b_UsingMismatch(CUsingValue const& value);

}  // namespace morka
