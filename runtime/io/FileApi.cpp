// FileApi: the channel check shared by every statement on a channel, the
// channel functions (EOF, POS, LINE, PAGE, the file queries, NextFile, Class)
// and Printf. The queries answer 0 or "" instead of raising for channels
// out of range or not in use. LINE of the console on a terminal is the
// cursor's row (counted from 0) of the active window; PAGE there is 0.
#include <velbra/FileApi.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>

#include <cstdarg>
#include <string>

namespace morka {

namespace {

// The record of a channel that the queries may look at, else null.
QXFILE* s_Query(int channel) {
    QXFILE* pFile = t_GetFile(channel);
    return pFile && pFile->bOpen ? pFile : nullptr;
}

struct CModeBit {
    bool (*pfnTest)(QXFILE const&);
    int iBit;
};

constexpr CModeBit s_aModeBits[] = {
    {[](QXFILE const& f) { return f.eAccess == ACC_APPEND; }, 0x001},
    {[](QXFILE const& f) { return (f.eAccess & ACC_OUTPUT) != 0; }, 0x002},
    {[](QXFILE const& f) { return (f.eAccess & ACC_INPUT) != 0; }, 0x004},
    {[](QXFILE const& f) { return (f.eOrg & ORG_SEQUENTIAL) != 0; }, 0x008},
    {[](QXFILE const& f) { return (f.uFlags & UF_NOLOCK) != 0; }, 0x010},
    {[](QXFILE const& f) { return (f.eOrg & ORG_DIRECT) != 0; }, 0x020},
    {[](QXFILE const& f) { return (f.eOrg & ORG_KEYED) != 0; }, 0x040},
    {[](QXFILE const& f) { return (f.uFlags & UF_QUOTE) != 0; }, 0x100},
    {[](QXFILE const& f) { return (f.uFlags & UF_CC) != 0; }, 0x200},
    {[](QXFILE const& f) { return (f.uFlags & UF_NOCREATE) != 0; }, 0x800},
};

}  // namespace

QXFILE* b_CheckOpen(int channel, int orgMask, int access) {
    if (channel < 0 || channel >= FileMngr.nChannels - 2) throw static_cast<int>(MORKA_ECHANNEL);
    return t_CheckOpen(channel, orgMask, access);
}

int Eof(int channel) {
    int iResult = 0;
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_ANY, ACC_UPDATE);
        iResult = t_Driver(pFile)->Eof(pFile) ? -1 : 0;
    });
    return iResult;
}

int Pos(int channel) {
    QXFILE* pFile = s_Query(channel);
    if (!pFile || !(pFile->eOrg & ORG_SEQUENTIAL) || !(pFile->eAccess & ACC_OUTPUT)) return 0;
    return pFile->iWritePos;
}

int Line(int channel) {
    QXFILE* pFile = s_Query(channel);
    if (!pFile) return 0;
    if (channel == 0 && isatty(pFile)) {
        int iRow = 0, iColumn = 0, iShape = 0;
        TermGetCursor(iRow, iColumn, iShape);
        return iRow;
    }
    return pFile->eDevType == DEV_PRINTER ? pFile->iPrtLine - 1 : 0;
}

// The terminal shows one page: its page number is always the first.
int Page(int channel) {
    QXFILE* pFile = s_Query(channel);
    return pFile && pFile->eDevType == DEV_PRINTER ? pFile->iPrtPage - 1 : 0;
}

void Unlock(int channel) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = s_Query(channel);
        if (pFile && (pFile->eAccess & ACC_OUTPUT)) t_Driver(pFile)->Unlock(pFile);
    });
}

QXFILE* GetFile(int channel) { return t_GetFile(channel); }

FILE* GetFILE(int channel) {
    QXFILE* pFile = t_GetFile(channel);
    return pFile ? pFile->pStream : nullptr;
}

CBString GetFileName(int channel) {
    QXFILE* pFile = s_Query(channel);
    return pFile ? pFile->sName : CBString();
}

int GetFileMode(int channel) {
    QXFILE* pFile = s_Query(channel);
    if (!pFile) return 0;
    int iMode = 0;
    for (CModeBit const& m : s_aModeBits)
        if (m.pfnTest(*pFile)) iMode |= m.iBit;
    return iMode;
}

int NextFile() {
    int iChannel = 0;
    b_StatementFrame(0, [&] { iChannel = t_NextFile(); });
    return iChannel;
}

int Class(char const* name) {
    switch (t_Device(name)) {
    case DEV_TERMINAL: {
        // The terminal may have changed its mode since the console opened.
        QXFILE* pConsole = &FileMngr.aFiles[0];
        t_Driver(pConsole)->Describe(pConsole, pConsole->sName);
        return pConsole->iClass;
    }
    case DEV_PRINTER: {
        QXFILE scratch;
        t_GetDriver(DRV_PRINTER)->Describe(&scratch, CBString(name));
        return scratch.iClass;
    }
    default:
        return 0;
    }
}

void Printf(char const* pszFormat, ...) {
    if (!pszFormat) return;
    std::string sFormat;
    for (char const* p = pszFormat; *p; ++p) {
        if (*p == '\n') sFormat += '\r';
        sFormat += *p;
    }
    va_list ap;
    va_start(ap, pszFormat);
    CBString sText;
    sText.vformat(sFormat.c_str(), ap);
    va_end(ap);
    TermWrite(sText.data(), sText.length());
    TermRefresh();
}

}  // namespace morka
