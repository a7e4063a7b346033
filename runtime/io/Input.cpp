// Input: INPUT, MAT INPUT, LINPUT and their keyed forms. A line comes from
// the driver's ReadLine (files, redirected input: at end of input the line is
// empty and bEndOfFile set) or, on the keyboard of a terminal or with stacked
// keystrokes, from plain entry into the record buffer. Fields are cut from
// iReadPos to nRecordLen; a quote opens a quoted field (separators kept),
// text after its closing quote is kept too, and no blanks are removed.
// Numbers convert as far as the text allows (12abc gives 12, abc gives 0).
#include "runtime/io/InputLine.h"
#include "runtime/io/MatCells.h"

#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/Input.h>
#include <velbra/LockWait.h>
#include <velbra/Matrix.h>
#include <velbra/PrintOut.h>
#include <morka/morka.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace morka {

namespace {

// Record buffer for a keyboard line: lines longer than this are cut.
constexpr int s_kLineBuffer = 4096;

bool s_FromKeyboard(QXFILE* pFile) {
    return pFile->eInDevType == DEV_TERMINAL && (::isatty(STDIN_FILENO) || t_StackReady());
}

}  // namespace

char b_InputSeparator() { return b_bConformToDoc && Morka.cDecimal != '.' ? ';' : ','; }

bool b_ReadInputLine(QXFILE* pFile, int channel, CBString const* pPrompt) {
    if (!s_FromKeyboard(pFile)) {
        t_Driver(pFile)->ReadLine(pFile);
        pFile->nFields = 0;
        return false;
    }
    if (channel == 0 && pPrompt && pPrompt->length() > 0) {
        if (::isatty(STDOUT_FILENO)) {
            TermWrite(pPrompt->data(), pPrompt->length());
        } else {
            CBString s = t_strconvout(pFile, Morka.sPrompt);
            t_DriverOut(pFile)->Write(pFile, s.data(), static_cast<std::size_t>(s.length()));
        }
    }
    if (pFile->nBufferSize < s_kLineBuffer) t_SetRecordSize(pFile, s_kLineBuffer);
    int n = b_ConInput(reinterpret_cast<char*>(pFile->pRecord), static_cast<std::size_t>(pFile->nBufferSize));
    // Keys come in the system set; the line buffer holds the channel's bytes
    // whichever way the line came, so its readers convert it one way.
    char* pLine = reinterpret_cast<char*>(pFile->pRecord);
    t_ConvertBytes(t_ConvOutTable(pFile), pLine, pLine, static_cast<std::size_t>(n > 0 ? n : 0));
    pFile->iReadPos = 0;
    pFile->nRecordLen = n;
    pFile->nFields = 0;
    int iRow = 0, iCol = 0, iShape = 0;
    TermGetCursor(iRow, iCol, iShape);
    pFile->iWritePos = iCol;
    return true;
}

CBString b_FetchField(QXFILE* pFile) {
    std::string s;
    ++pFile->nFields;
    if (pFile->iReadPos >= pFile->nRecordLen) {
        pFile->iReadPos = pFile->nRecordLen + 1;
        return CBString();
    }
    bool bWide = (pFile->uFlags & UF_WIDE) != 0;
    int nUnit = bWide ? 4 : 1;
    char cSep = b_InputSeparator();
    auto next = [&](int& c) {
        if (pFile->iReadPos >= pFile->nRecordLen) return false;
        unsigned char const* p = pFile->pRecord + pFile->iReadPos;
        int32_t u = *p;
        if (bWide) std::memcpy(&u, p, 4);
        pFile->iReadPos += nUnit;
        c = t_chrconvin(pFile, u);
        return true;
    };
    bool bQuoted = false;
    bool bFirst = true;
    int c;
    while (next(c)) {
        if (c == -1) break;
        if (bQuoted) {
            if (c == '"') bQuoted = false;
            else s.push_back(static_cast<char>(c));
            continue;
        }
        if (c == cSep) break;
        if (c == '"' && bFirst) {
            bQuoted = true;
        } else {
            s.push_back(static_cast<char>(c));
        }
        bFirst = false;
    }
    // dialect quirk: a quoted field cut off by the line end loses a trailing quote character.
    if (bQuoted && !s.empty() && s.back() == '"') s.pop_back();
    return CBString(std::move(s));
}

namespace {

// The field as the C library's conversions read it: the decimal separator
// becomes '.', and a '.' under another separator stops the number.
std::string s_NumberText(CBString const& s) {
    std::string t(s.data(), static_cast<std::size_t>(s.length()));
    if (Morka.cDecimal != '.') {
        for (char& c : t) {
            if (c == '.') c = '\x01';
            else if (c == Morka.cDecimal) c = '.';
        }
    }
    return t;
}

}  // namespace

void b_FieldToVar(CItem const& item, CBString const& sField) {
    switch (item.cType) {
    case 'd': {
        std::string t = s_NumberText(sField);
        auto* p = static_cast<CDfp*>(item.pVar);
        if constexpr (b_bDecimalFlavour) {
            p->xValue = static_cast<dfp_t>(strtod64(t.c_str(), nullptr));
        } else {
            p->xValue = static_cast<dfp_t>(std::strtod(t.c_str(), nullptr));
        }
        break;
    }
    case 'i':
        static_cast<CInt16*>(item.pVar)->iValue = static_cast<int16_t>(std::strtoll(sField.c_str(), nullptr, 10));
        break;
    case 'l':
        static_cast<CInt32*>(item.pVar)->iValue = static_cast<int32_t>(std::strtoll(sField.c_str(), nullptr, 10));
        break;
    case 's':
        *static_cast<CBString*>(item.pVar) = sField;
        break;
    default:
        break;
    }
}

namespace {

constexpr char s_kInputLetters[] = "cdilrst";
constexpr char s_kMatLetters[] = "CDILST";

// INPUT's visitor: one field per variable.
class CInputWalk : public CTypeVisitor {
public:
    explicit CInputWalk(QXFILE* pFile) : m_pFile(pFile) {}
    void Item(CItem const& item) override {
        if (item.cType >= 'A' && item.cType <= 'Z') {
            b_InputArrayItem(m_pFile, item);
            return;
        }
        b_FieldToVar(item, b_FetchField(m_pFile));
    }

private:
    QXFILE* m_pFile;
};

void s_Fields(QXFILE* pFile, char const* types, va_list* pAp, bool bMat) {
    CInputWalk walk(pFile);
    b_WalkTypes(types, pAp, t_Pass::Input, bMat ? s_kMatLetters : s_kInputLetters, false, walk, pFile);
}

template <class TMatrix>
void s_FillArray(QXFILE* pFile, CItem const& item, char cElem) {
    b_ForEachCell<TMatrix>(item, [&](auto& cell, bool) {
        CItem elem;
        elem.cType = cElem;
        elem.pVar = &cell;
        b_FieldToVar(elem, b_FetchField(pFile));
    });
}

void s_RecordArray(QXFILE* pFile, CItem const& item) {
    CInputWalk walk(pFile);
    b_ForEachRecord(item, [&](CTypeMap const* pMap) { b_WalkMap(pMap, walk); });
}

}  // namespace

void b_InputArrayItem(QXFILE* pFile, CItem const& item) {
    switch (item.cType) {
    case 'D': s_FillArray<CDfpMatrix>(pFile, item, 'd'); break;
    case 'I': s_FillArray<CInt16Matrix>(pFile, item, 'i'); break;
    case 'L': s_FillArray<CInt32Matrix>(pFile, item, 'l'); break;
    case 'S': s_FillArray<CBStringMatrix>(pFile, item, 's'); break;
    case 'C':
    case 'T': s_RecordArray(pFile, item); break;
    default:
        pFile->iErrno = MORKA_ETYPECODE;
        throw static_cast<int>(MORKA_ETYPECODE);
    }
}

namespace {

void s_Input(int channel, bool bPrompt, char const* types, va_list ap, bool bMat) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_INPUT);
        bool bKeyboard = b_ReadInputLine(pFile, channel, bPrompt ? &Morka.sPrompt : nullptr);
        if (bKeyboard) TermPut('\r');
        CVaCopy args(ap);
        s_Fields(pFile, types, args.Get(), bMat);
    });
}

// Reads the keyed record of the key setKey sets; its text ends at the first
// zero byte.
template <class TSetKey>
void s_ReadKeyed(QXFILE* pFile, TSetKey&& setKey) {
    setKey(pFile);
    CDriver* pDriver = t_Driver(pFile);
    b_LockWait(pFile, MORKA_ERECLOCKED, [&] { return pDriver->ReadKey(pFile); });
    void const* pZero = std::memchr(pFile->pRecord, 0, static_cast<std::size_t>(pFile->nRecordLen));
    if (pZero) pFile->nRecordLen = static_cast<int>(static_cast<unsigned char const*>(pZero) - pFile->pRecord);
    pFile->iReadPos = 0;
    pFile->nFields = 0;
}

template <class TSetKey>
void s_InputKey(int channel, int iMask, TSetKey&& setKey, char const* types, va_list ap, bool bMat) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, iMask, ACC_INPUT);
        s_ReadKeyed(pFile, setKey);
        CVaCopy args(ap);
        s_Fields(pFile, types, args.Get(), bMat);
    });
}

auto s_NumberKey(CInt32 key) {
    return [key](QXFILE* pFile) { _SetIntegerKey(pFile, key); };
}

auto s_TextKey(char const* key) {
    return [key](QXFILE* pFile) { _SetStringKey(pFile, key ? key : "", false); };
}

// The record's text, converted from the channel's character set.
CBString s_RecordText(QXFILE* pFile) {
    CBString s(reinterpret_cast<char const*>(pFile->pRecord), pFile->nRecordLen);
    return t_strconvin(pFile, s);
}

void s_Linput(int channel, CBString const* pPrompt, CBString* var) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_INPUT);
        bool bKeyboard = b_ReadInputLine(pFile, channel, pPrompt);
        if (bKeyboard && (channel == 0 || ::isatty(STDIN_FILENO) || t_bStackShow)) TermPut('\r');
        if (var) *var = s_RecordText(pFile);
    });
}

template <class TSetKey>
void s_LinputKey(int channel, int iMask, TSetKey&& setKey, CBString* var) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, iMask, ACC_INPUT);
        s_ReadKeyed(pFile, setKey);
        if (var) *var = s_RecordText(pFile);
    });
}

}  // namespace

void Input(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Input(0, true, types, ap, false);
    va_end(ap);
}
void Input(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Input(channel, false, types, ap, false);
    va_end(ap);
}
void MatInput(char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Input(0, true, types, ap, true);
    va_end(ap);
}
void MatInput(int channel, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_Input(channel, false, types, ap, true);
    va_end(ap);
}

void InputKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_InputKey(channel, MASK_NUMBER_KEY, s_NumberKey(key), types, ap, false);
    va_end(ap);
}
void InputKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_InputKey(channel, MASK_STRING_KEY, s_TextKey(key), types, ap, false);
    va_end(ap);
}
void InputKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_InputKey(channel, MASK_STRING_KEY, s_TextKey(key ? key->c_str() : ""), types, ap, false);
    va_end(ap);
}
void MatInputKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_InputKey(channel, MASK_NUMBER_KEY, s_NumberKey(key), types, ap, true);
    va_end(ap);
}
void MatInputKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_InputKey(channel, MASK_STRING_KEY, s_TextKey(key), types, ap, true);
    va_end(ap);
}
void MatInputKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_InputKey(channel, MASK_STRING_KEY, s_TextKey(key ? key->c_str() : ""), types, ap, true);
    va_end(ap);
}


void Linput(CBString* var) { s_Linput(0, &Morka.sPrompt, var); }
void Linput(char const* prompt, CBString* var) {
    CBString s(prompt);
    s_Linput(0, &s, var);
}
void Linput(CBString const* prompt, CBString* var) { s_Linput(0, prompt, var); }
void Linput(int channel, CBString* var) { s_Linput(channel, nullptr, var); }

void LinputKey(int channel, CInt32 key, CBString* var) { s_LinputKey(channel, MASK_NUMBER_KEY, s_NumberKey(key), var); }
void LinputKey(int channel, char const* key, CBString* var) { s_LinputKey(channel, MASK_STRING_KEY, s_TextKey(key), var); }
void LinputKey(int channel, CBString const* key, CBString* var) {
    s_LinputKey(channel, MASK_STRING_KEY, s_TextKey(key ? key->c_str() : ""), var);
}

}  // namespace morka
