// FileRecord: READ, WRITE and their MAT forms on sequential channels, and
// UNGET. WRITE hands each record, 0 byte included, to the channel's driver
// in one piece; its end is a flush point (the stream driver's policy: a
// sequential file only this channel may read gathers whole records, see
// morka/DrvStream.h).
// UNGET hands its characters to the console queue when the channel reads the
// terminal's keyboard (a terminal, or keystrokes stacked), else to the
// channel's driver.
#include <velbra/FileRecord.h>
#include <velbra/FileApi.h>
#include <velbra/Record.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>

namespace morka {

namespace {

template <class TWork>
void s_Statement(int channel, va_list ap, TWork&& work) {
    b_StatementFrame(channel, [&] {
        CVaCopy args(ap);
        work(args.Get());
    });
}

// Pushes back one character per operand.
class CUngetter final : public CTypeVisitor {
public:
    explicit CUngetter(QXFILE* pFile) : m_pFile(pFile) {}
    void Item(CItem const& item) override {
        int c;
        switch (item.cType) {
        case 'd': c = b_L(static_cast<CDfp const*>(item.pVar)->xValue); break;
        case 'i': c = static_cast<CInt16 const*>(item.pVar)->iValue; break;
        case 'l': c = static_cast<CInt32 const*>(item.pVar)->iValue; break;
        case 's': {
            auto const* p = static_cast<CBString const*>(item.pVar);
            if (!p || p->empty()) return;
            c = static_cast<unsigned char>((*p)[0]);
            break;
        }
        default: {
            auto const* psz = static_cast<char const*>(item.pVar);
            if (!psz || !*psz) return;
            c = static_cast<unsigned char>(*psz);
            break;
        }
        }
        // The terminal's keyboard takes characters back through the console
        // queue, which the console statements read first.
        if (m_pFile->eInDevType == DEV_TERMINAL && (isatty(m_pFile) || t_StackReady(true)))
            FileMngr.Console.ConUnget(c);
        else
            t_Driver(m_pFile)->UngetChar(m_pFile, t_chrconvout(m_pFile, c));
    }

private:
    QXFILE* m_pFile;
};

}  // namespace

namespace {

// One sequential record statement: the channel checked for the access, then
// the work with the operands.
template <class TWork>
void s_Sequential(int channel, int iAccess, va_list ap, TWork&& work) {
    s_Statement(channel, ap, [&](va_list* pAp) { work(b_CheckOpen(channel, ORG_SEQUENTIAL, iAccess), pAp); });
}

}  // namespace

void Read(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Sequential(channel, ACC_INPUT, ap, [&](QXFILE* pFile, va_list* pAp) {
        _Read(pFile);
        _Buffer2Vars(pFile, types, pAp);
    });
    va_end(ap);
}

void MatRead(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Sequential(channel, ACC_INPUT, ap, [&](QXFILE* pFile, va_list* pAp) {
        _Read(pFile);
        _Buffer2Arrays(pFile, types, pAp);
    });
    va_end(ap);
}

void Write(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Sequential(channel, ACC_OUTPUT, ap, [&](QXFILE* pFile, va_list* pAp) {
        _FWriteRecord(pFile, types, pAp, false);
    });
    va_end(ap);
}

void MatWrite(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Sequential(channel, ACC_OUTPUT, ap, [&](QXFILE* pFile, va_list* pAp) {
        _FWriteRecord(pFile, types, pAp, true);
    });
    va_end(ap);
}

namespace {

void s_Unget(int channel, char const* types, va_list ap) {
    s_Statement(channel, ap, [&](va_list* pAp) {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_INPUT);
        CUngetter ungetter(pFile);
        b_WalkTypes(types, pAp, t_Pass::Output, "dilsz", false, ungetter, pFile);
        t_Driver(pFile)->CheckError(pFile);
    });
}

}  // namespace

void Unget(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Unget(channel, types, ap);
    va_end(ap);
}

void Unget(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Unget(0, types, ap);
    va_end(ap);
}

}  // namespace morka
