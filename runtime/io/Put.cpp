// Put: PUT writes raw characters: a number gives the character of its low 8
// bits, a string its text as a block. The print column is left as it was.
#include "runtime/io/PrintWalk.h"

#include <velbra/FileApi.h>
#include <velbra/Print.h>
#include <morka/morka.h>

#include <cstring>

namespace morka {

namespace {

class CPutWalk : public CTypeVisitor {
public:
    explicit CPutWalk(CPrintOut& out) : m_out(out) {}

    void Item(CItem const& item) override {
        QXFILE* f = m_out.File();
        switch (item.cType) {
        case 'd':
            m_out.PutChar(b_L(static_cast<CDfp const*>(item.pVar)->xValue));
            break;
        case 'i':
            m_out.PutChar(*static_cast<CInt16 const*>(item.pVar));
            break;
        case 'l':
            m_out.PutChar(*static_cast<CInt32 const*>(item.pVar));
            break;
        case 's':
        case 'z': {
            int iColumn = f->iWritePos;
            if (item.cType == 's') {
                auto const* ps = static_cast<CBString const*>(item.pVar);
                if (ps) m_out.Block(ps->data(), ps->length());
            } else if (auto const* psz = static_cast<char const*>(item.pVar)) {
                m_out.Block(psz, static_cast<int>(std::strlen(psz)));
            }
            f->iWritePos = iColumn;
            break;
        }
        default:
            break;
        }
    }

private:
    CPrintOut& m_out;
};

void s_Put(int channel, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_OUTPUT);
        CVaCopy args(ap);
        CPrintOut out(pFile);
        CPutWalk walk(out);
        b_WalkTypes(types, args.Get(), t_Pass::Output, "dilsz", false, walk, pFile);
        out.Flush();
    });
}

}  // namespace

void Put(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Put(0, types, ap);
    va_end(ap);
}

void Put(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Put(channel, types, ap);
    va_end(ap);
}

}  // namespace morka
