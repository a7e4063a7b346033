// PrintUsing: the operands of PRINT USING and PRINT KEY USING, gathered from
// the type-code walk into the records the picture walk reads. Values of the
// argument list live only while the walker visits them, so they are copied;
// strings are kept as views of the program's own strings.
// An IoList is recognised by its letter: items that arrive while the walk
// stands on an 'r' come from the list, until the walker reports its end.
#include "UsingWalk.h"

#include <velbra/RealMath.h>
#include <velbra/TypeBase.h>
#include <morka/CBString.h>

namespace morka {

namespace {

class CUsingCollector : public CTypeVisitor {
public:
    CUsingCollector(char const* pszTypes, std::vector<CUsingValue>* paValues, int* piEnd)
        : m_pszTypes(pszTypes), m_paValues(paValues), m_piEnd(piEnd) {}

    void Item(CItem const& item) override {
        bool bFromList = m_pszTypes[m_iPos] == 'r';
        if (!bFromList && m_pszTypes[m_iPos]) ++m_iPos;
        CUsingValue v;
        v.cType = item.cType;
        switch (item.cType) {
        case 'd':
            v.x = static_cast<CDfp const*>(item.pVar)->xValue;
            // dialect quirk: an IoList marks a missing value with the largest real.
            if (bFromList && v.x == b_RealMax(dfp_t{})) v.x = 0;
            break;
        case 'i': v.n = static_cast<CInt16 const*>(item.pVar)->iValue; break;
        case 'l': v.n = static_cast<CInt32 const*>(item.pVar)->iValue; break;
        case 's': {
            CBString const* ps = static_cast<CBString const*>(item.pVar);
            if (ps) v.sText = ps->view();
            break;
        }
        case 'z': {
            char const* psz = static_cast<char const*>(item.pVar);
            v.sText = psz ? std::string_view(psz) : std::string_view();
            break;
        }
        case 'p':
            *m_piEnd = item.iEnd;
            return;
        default:
            return;
        }
        m_paValues->push_back(v);
    }

    void ListDone() override {
        if (m_pszTypes[m_iPos] == 'r') ++m_iPos;
    }

private:
    char const* m_pszTypes;
    std::vector<CUsingValue>* m_paValues;
    int* m_piEnd;
    std::size_t m_iPos = 0;
};

}  // namespace

void b_CollectUsing(char const* pszTypes, va_list* pAp, std::vector<CUsingValue>* paValues, int* piEnd) {
    *piEnd = 0;
    if (!pszTypes) return;
    CUsingCollector collector(pszTypes, paValues, piEnd);
    b_WalkTypes(pszTypes, pAp, t_Pass::Output, "dilszpr", false, collector);
}

}  // namespace morka
