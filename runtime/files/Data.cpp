// Data: DATA, READ, MAT READ and RESTORE over the compiler's item table.
// Items are converted when read: the leading number of the text (strtod, or
// the decimal parser in the decimal flavour), the leading integer (strtol),
// or the whole text. MAT READ runs in the statement frame like READ, so an
// "Out of data" while it fills an array is reported like any other error.
#include <velbra/Data.h>
#include <velbra/TypeBase.h>
#include <velbra/NumClasses.h>
#include <morka/morka.h>

#include <cstdlib>
#include <cstring>

namespace morka {

Data const* pData = nullptr;
unsigned long ulDataMax = 0;
unsigned long ulDataNext = 0;
uint32_t b_ulDataNext = 0;

namespace {

char const* s_Take() {
    if (ulDataNext >= ulDataMax || !pData) throw 3036;
    char const* psz = pData[ulDataNext++].pszValue;
    return psz ? psz : "";
}

class CDataReader final : public CTypeVisitor {
public:
    void Item(CItem const& item) override {
        switch (item.cType) {
        case 'd': {
            char const* psz = s_Take();
            if constexpr (b_bDecimalFlavour) static_cast<CDfp*>(item.pVar)->xValue = static_cast<dfp_t>(strtod64(psz, nullptr));
            else static_cast<CDfp*>(item.pVar)->xValue = static_cast<dfp_t>(std::strtod(psz, nullptr));
            break;
        }
        case 'i': static_cast<CInt16*>(item.pVar)->iValue = static_cast<int16_t>(b_I(std::strtol(s_Take(), nullptr, 10))); break;
        case 'l': static_cast<CInt32*>(item.pVar)->iValue = b_L(std::strtol(s_Take(), nullptr, 10)); break;
        case 's': *static_cast<CBString*>(item.pVar) = s_Take(); break;
        default: b_WalkArray(item, *this, t_MapWalk::Data); break;
        }
    }
};

}  // namespace

void b_InitData(Data* pTable, unsigned nCount) {
    pData = pTable;
    ulDataMax = pTable ? nCount : 0;
    ulDataNext = 0;
}

void Restore(unsigned line) {
    b_StatementFrame(0, [&] {
        for (unsigned long i = 0; pData && i < ulDataMax; ++i) {
            if (pData[i].uLine >= line) {
                ulDataNext = i;
                return;
            }
        }
        throw 3123;
    });
}

void ReadData(char const* pszTypes, ...) {
    va_list ap;
    va_start(ap, pszTypes);
    b_StatementFrame(0, [&] {
        CVaCopy args(ap);
        CDataReader reader;
        b_WalkTypes(pszTypes, args.Get(), t_Pass::Input, "dilst", false, reader, nullptr, t_MapWalk::Data);
    });
    va_end(ap);
}

void MatReadData(char const* pszTypes, ...) {
    va_list ap;
    va_start(ap, pszTypes);
    b_StatementFrame(0, [&] {
        CVaCopy args(ap);
        CDataReader reader;
        for (char const* p = pszTypes ? pszTypes : ""; *p; ++p) {
            char sz[2] = {*p, 0};
            if (std::strchr("DILST", *p)) b_WalkTypes(sz, args.Get(), t_Pass::Input, "DILST", false, reader, nullptr, t_MapWalk::Data);
            else b_ErrorHandler(MORKA_ETYPECODE, 0);
        }
    });
    va_end(ap);
}

}  // namespace morka
