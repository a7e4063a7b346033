// PrintUsing: the PRINT USING and PRINT KEY USING statements. The operands
// are gathered from the type-code walk into the records the picture walk
// reads (values of the argument list live only while the walker visits them,
// so they are copied; strings stay views of the program's own strings); the
// pieces of the picture walk go through PRINT's block writer with quote mode
// off, and the statement ends with PRINT's own end.
// An IoList is recognised by its letter: items that arrive while the walk
// stands on an 'r' come from the list, until the walker reports its end.
#include "UsingWalk.h"
#include "runtime/io/PrintWalk.h"

#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/NumFormat.h>
#include <velbra/PrintOut.h>
#include <velbra/RealMath.h>
#include <velbra/TypeBase.h>
#include <morka/CBString.h>
#include <morka/FileMngr.h>

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

void b_CollectUsing(char const* pszTypes, va_list* pAp, std::vector<CUsingValue>* paValues, int* piEnd,
                    QXFILE* pFile) {
    *piEnd = -1;
    if (!pszTypes) return;
    CUsingCollector collector(pszTypes, paValues, piEnd);
    b_WalkTypes(pszTypes, pAp, t_Pass::Output, "dilszpr", false, collector, pFile);
}

namespace {

// Quote mode off for one piece of output, restored after it.
class CQuoteOff {
public:
    explicit CQuoteOff(QXFILE* pFile) : m_pFile(pFile), m_uFlags(pFile->uFlags) { pFile->uFlags &= ~static_cast<unsigned>(UF_QUOTE); }
    ~CQuoteOff() { m_pFile->uFlags = m_uFlags; }
    CQuoteOff(CQuoteOff const&) = delete;
    CQuoteOff& operator=(CQuoteOff const&) = delete;

private:
    QXFILE* m_pFile;
    unsigned m_uFlags;
};

class CPrintOutSink : public CUsingSink {
public:
    explicit CPrintOutSink(CPrintOut& out) : m_out(out) {}
    void Text(std::string_view sPiece) override {
        CQuoteOff quoteOff(m_out.File());
        m_out.Block(sPiece.data(), static_cast<int>(sPiece.size()));
    }
    void LineEnd() override { m_out.End(2); }

private:
    CPrintOut& m_out;
};

// One run of the statement's work on the checked channel: operands, picture
// walk, PRINT's statement end.
void s_UsingWork(CPrintOut& out, char const* pszPicture, char const* types, va_list ap) {
    CVaCopy args(ap);
    std::vector<CUsingValue> aValues;
    int iEnd = -1;
    b_CollectUsing(types, args.Get(), &aValues, &iEnd, out.File());
    CPrintOutSink sink(out);
    b_UsingWalk(pszPicture, aValues.data(), aValues.size(), sink);
    CPrintWalk walk(out, types);
    if (iEnd >= 0) {
        CItem end;
        end.cType = 'p';
        end.iEnd = iEnd;
        walk.Item(end);
    }
    walk.Finish();
}

void s_PrintUsing(int channel, char const* pszPicture, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_OUTPUT);
        CPrintOut out(pFile);
        s_UsingWork(out, pszPicture, types, ap);
    });
}

template <class TSetKey>
void s_PrintKeyUsing(int channel, int iMask, TSetKey&& setKey, char const* pszPicture, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, iMask, ACC_OUTPUT);
        setKey(pFile);
        CPrintOut out(pFile, true);
        s_UsingWork(out, pszPicture, types, ap);
        b_StoreKeyRecord(pFile);
    });
}

auto s_NumberKey(CInt32 key) {
    return [key](QXFILE* pFile) { _SetIntegerKey(pFile, key); };
}

auto s_TextKey(char const* key) {
    return [key](QXFILE* pFile) { _SetStringKey(pFile, key, true); };
}

char const* s_Text(CBString const* ps) { return ps ? ps->c_str() : ""; }

}  // namespace

void PrintUsing(char const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintUsing(0, picture, types, ap);
    va_end(ap);
}

void PrintUsing(CBString const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintUsing(0, s_Text(picture), types, ap);
    va_end(ap);
}

void PrintUsing(int channel, char const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintUsing(channel, picture, types, ap);
    va_end(ap);
}

void PrintUsing(int channel, CBString const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintUsing(channel, s_Text(picture), types, ap);
    va_end(ap);
}

void PrintKeyUsing(int channel, CInt32 key, char const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKeyUsing(channel, MASK_NUMBER_KEY, s_NumberKey(key), picture, types, ap);
    va_end(ap);
}

void PrintKeyUsing(int channel, CInt32 key, CBString const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKeyUsing(channel, MASK_NUMBER_KEY, s_NumberKey(key), s_Text(picture), types, ap);
    va_end(ap);
}

void PrintKeyUsing(int channel, char const* key, char const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKeyUsing(channel, MASK_STRING_KEY, s_TextKey(key), picture, types, ap);
    va_end(ap);
}

void PrintKeyUsing(int channel, char const* key, CBString const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKeyUsing(channel, MASK_STRING_KEY, s_TextKey(key), s_Text(picture), types, ap);
    va_end(ap);
}

void PrintKeyUsing(int channel, CBString const* key, char const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKeyUsing(channel, MASK_STRING_KEY, s_TextKey(s_Text(key)), picture, types, ap);
    va_end(ap);
}

void PrintKeyUsing(int channel, CBString const* key, CBString const* picture, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKeyUsing(channel, MASK_STRING_KEY, s_TextKey(s_Text(key)), s_Text(picture), types, ap);
    va_end(ap);
}

}  // namespace morka
