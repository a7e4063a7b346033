// InputGet: LINPUT USING (field editing on the console) and GET (single
// characters; the keyboard is never waited for). An empty LINPUT USING mask
// raises 3005, the string library's index error.
#include <velbra/FileApi.h>
#include <velbra/Hooks.h>
#include <velbra/Input.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>

#include <unistd.h>

namespace morka {

namespace {

constexpr int s_kIndexError = 3005;

void s_WritePrompt(QXFILE* pFile, CBString const& sPrompt) {
    if (::isatty(STDOUT_FILENO)) {
        TermWrite(sPrompt.data(), sPrompt.length());
    } else {
        CBString s = t_strconvout(pFile, Morka.sPrompt);
        t_DriverOut(pFile)->Write(pFile, s.data(), static_cast<std::size_t>(s.length()));
        t_DriverOut(pFile)->Flush(pFile, true);
    }
}

// pPrompt: written before the field when given; pText: edited (bEdit) or the
// mask of a new entry.
void s_LinputUsing(CBString const* pPrompt, bool bEdit, CBString const& sText, CBString* var, int position) {
    b_StatementFrame(0, [&] {
        QXFILE* pFile = b_CheckOpen(0, MASK_TEXT, ACC_INPUT);
        CBString sResult = bEdit ? sText : CBString();
        if (Morka.sUsingPrompt.length() > 0) s_WritePrompt(pFile, Morka.sUsingPrompt);
        if (pPrompt) TermWrite(pPrompt->data(), pPrompt->length());
        int nLen = sText.length();
        bool bAuto = false;
        if (!bEdit) {
            if (nLen == 0) throw s_kIndexError;
            bAuto = sText.data()[0] == '!';
        }
        b_ConEdit(bEdit, sResult, position != 0 ? position : 1, nLen, bAuto);
        if (var) *var = sResult;
    });
}

CBString const* s_Given(char const* prompt, CBString& sKeep) {
    if (!prompt || !*prompt) return nullptr;
    sKeep = CBString(prompt);
    return &sKeep;
}

}  // namespace

void LinputUsing(char const* mask, CBString* var) { s_LinputUsing(nullptr, false, CBString(mask), var, 0); }
void LinputUsing(CBString const* text, CBString* var) { s_LinputUsing(nullptr, true, text ? *text : CBString(), var, 0); }
void LinputUsing(char const* prompt, char const* mask, CBString* var, CInt32 position) {
    CBString sPrompt;
    s_LinputUsing(s_Given(prompt, sPrompt), false, CBString(mask), var, position);
}
void LinputUsing(CBString const* prompt, char const* mask, CBString* var, CInt32 position) {
    s_LinputUsing(prompt, false, CBString(mask), var, position);
}
void LinputUsing(char const* prompt, CBString const* text, CBString* var, CInt32 position) {
    CBString sPrompt;
    s_LinputUsing(s_Given(prompt, sPrompt), true, text ? *text : CBString(), var, position);
}
void LinputUsing(CBString const* prompt, CBString const* text, CBString* var, CInt32 position) {
    s_LinputUsing(prompt, true, text ? *text : CBString(), var, position);
}

namespace {

constexpr char s_kGetLetters[] = "dils";

class CGetWalk : public CTypeVisitor {
public:
    explicit CGetWalk(QXFILE* pFile) : m_pFile(pFile) {
        m_bKeyboard = pFile->eInDevType == DEV_TERMINAL && (::isatty(STDIN_FILENO) || t_StackReady());
    }

    void Item(CItem const& item) override {
        int c = -1;
        if (m_bKeyboard) {
            if (FileMngr.Console.ConReady()) c = TermConvIn(b_ConGetW(7));
        } else {
            c = t_Driver(m_pFile)->GetChar(m_pFile);
            if (c >= 0) c = t_chrconvin(m_pFile, c);
        }
        if (c <= 0) {
            m_pFile->bEndOfFile = 1;
            c = 0;
        }
        switch (item.cType) {
        case 'i': static_cast<CInt16*>(item.pVar)->iValue = static_cast<int16_t>(c); break;
        case 'l': static_cast<CInt32*>(item.pVar)->iValue = c; break;
        case 'd': static_cast<CDfp*>(item.pVar)->xValue = c; break;
        case 's':
            *static_cast<CBString*>(item.pVar) = c == 0 ? CBString() : CBString(static_cast<char>(c));
            break;
        default: break;
        }
    }

    bool m_bKeyboard = false;

private:
    QXFILE* m_pFile;
};

void s_Get(int channel, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_INPUT);
        CVaCopy args(ap);
        CGetWalk walk(pFile);
        b_WalkTypes(types, args.Get(), t_Pass::Input, s_kGetLetters, false, walk, pFile);
        if (!walk.m_bKeyboard) t_Driver(pFile)->CheckError(pFile);
    });
}

}  // namespace

void Get(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Get(0, types, ap);
    va_end(ap);
}

void Get(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Get(channel, types, ap);
    va_end(ap);
}

}  // namespace morka
