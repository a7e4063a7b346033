// FileMngr: the channel table. 258 channels: OPEN accepts 0..255 and the two
// last entries stay for the system layer's own use. Channel 0 is the console:
// opened by t_InitFiles for input and output and never closed; its output ends
// lines with LF (what the terminal shows as lines, when output is redirected).
// t_Open chooses the driver (device type, then organisation), fills the
// record and lets the driver open the file; a failed or refused open leaves
// the channel free. A carriage-control channel starts at the beginning of a
// line (its first line's control character is read as such) and its pending
// line end is written by CLOSE, so the file's last line is ended. Every
// channel is flushed before the process forks.
#include <morka/Driver.h>
#include <morka/FileName.h>
#include <morka/System.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pthread.h>

namespace morka {

CFileMngr FileMngr;

CFileMngr::~CFileMngr() {
    for (QXFILE& f : aFiles) {
        std::free(f.pRecord);
        std::free(f.pKey);
    }
}

namespace {

void s_Reset(QXFILE* pFile) {
    std::free(pFile->pRecord);
    std::free(pFile->pKey);
    int iChannel = pFile->iChannel;
    *pFile = QXFILE{};
    pFile->iChannel = iChannel;
}

[[noreturn]] void s_Raise(QXFILE* pFile, int n) {
    pFile->iErrno = n;
    throw n;
}

unsigned s_Flags(unsigned flags) {
    unsigned u = flags & (UF_NOLOCK | UF_NOCREATE | UF_QUOTE | UF_CC | UF_WIDE);
    if (flags & OPEN_EOL_GIVEN)
        u |= flags & UF_EOL_MASK;
    else
        u |= getintenv("b_opennl", 0) ? UF_EOL_LF : UF_EOL_CR;
    return u;
}

// Output still buffered at a fork would be written twice, by both processes.
void s_FlushBeforeFork() { t_FlushAll(); }

}  // namespace

void t_InitFiles() {
    static bool s_bAtFork = pthread_atfork(s_FlushBeforeFork, nullptr, nullptr) == 0;
    (void)s_bAtFork;
    if (!FileMngr.aFiles.empty()) {
        try {
            t_CloseAll();
        } catch (int) {
        }
        t_Driver(&FileMngr.aFiles[0])->Close(&FileMngr.aFiles[0]);
        s_Reset(&FileMngr.aFiles[0]);
    }
    FileMngr.aFiles.assign(static_cast<std::size_t>(FileMngr.nChannels), QXFILE{});
    for (int i = 0; i < FileMngr.nChannels; ++i) FileMngr.aFiles[static_cast<std::size_t>(i)].iChannel = i;
    QXFILE& con = FileMngr.aFiles[0];
    con.eOrg = ORG_SEQUENTIAL | ORG_TEXT;
    con.eAccess = ACC_UPDATE;
    con.eDevType = DEV_TERMINAL;
    con.eInDevType = DEV_TERMINAL;
    con.uFlags = UF_EOL_LF;
    con.iDriver = DRV_CONSOLE;
    con.sName = "CON";
    t_GetDriver(DRV_CONSOLE)->Open(&con);
    con.bOpen = true;
}

QXFILE* t_GetFile(int ch) {
    if (ch < 0 || ch >= static_cast<int>(FileMngr.aFiles.size())) return nullptr;
    return &FileMngr.aFiles[static_cast<std::size_t>(ch)];
}

int t_GetFileNum(QXFILE const* pFile) { return pFile ? pFile->iChannel : -1; }

QXFILE* t_CheckFree(int ch) {
    QXFILE* pFile = t_GetFile(ch);
    if (!pFile) throw static_cast<int>(MORKA_ECHANNEL);
    if (pFile->bOpen) s_Raise(pFile, MORKA_EBUSY);
    return pFile;
}

QXFILE* t_CheckOpen(int ch, int orgMask, int access) {
    QXFILE* pFile = t_GetFile(ch);
    if (!pFile) throw static_cast<int>(MORKA_ECHANNEL);
    if (!pFile->bOpen) s_Raise(pFile, EBADF);
    if (orgMask != 0 && (pFile->eOrg & orgMask) == 0) s_Raise(pFile, MORKA_EBADORG);
    if (access != 0 && (pFile->eAccess & access) == 0) s_Raise(pFile, MORKA_ENOTOPEN);
    return pFile;
}

bool t_Open(int ch, char const* name, int devType, int org, int access, unsigned flags) {
    QXFILE* pFile = t_CheckFree(ch);
    CBString sName(name ? name : "");
    sName.trim();
    t_sMorkaFname = sName;
    t_sLinuxFname = CBString();
    if (sName.empty()) s_Raise(pFile, MORKA_EBADNAME);

    int iDriver = -1;
    CBString sPath;
    switch (devType) {
    case DEV_TERMINAL:
        iDriver = DRV_CONSOLE;
        sPath = "/dev/stdout";
        break;
    case DEV_PRINTER:
        iDriver = DRV_PRINTER;
        sPath = t_PrinterSpool(sName.c_str());
        if (sPath.empty()) s_Raise(pFile, ENODEV);
        break;
    case DEV_DISK:
        iDriver = t_DriverOfOrg(org);
        if (iDriver < 0) s_Raise(pFile, MORKA_EBADORG);
        sPath = t_morka_fn_2_linux_fn(sName.c_str());
        if (sPath.empty()) s_Raise(pFile, MORKA_EBADNAME);
        break;
    default:
        s_Raise(pFile, ENODEV);
    }
    t_sLinuxFname = sPath;
    // Output of the other channels reaches the files before this one opens
    // (it may be the same file).
    t_FlushAll();

    pFile->eOrg = org;
    pFile->eAccess = access;
    pFile->uFlags = s_Flags(flags);
    pFile->eDevType = devType;
    pFile->eInDevType = devType;
    pFile->iDriver = iDriver;
    pFile->sName = sName;
    pFile->sPath = sPath;
    bool bOpened;
    try {
        bOpened = t_GetDriver(iDriver)->Open(pFile);
    } catch (...) {
        int iErrno = pFile->iErrno;
        s_Reset(pFile);
        pFile->iErrno = iErrno;
        throw;
    }
    if (!bOpened) {
        s_Reset(pFile);
        return false;
    }
    pFile->bOpen = true;
    if ((pFile->uFlags & UF_CC) && (access & ACC_OUTPUT)) {
        pFile->bEndOfRecord = 1;
        pFile->bFresh = true;
    }
    return true;
}

void t_Close(int ch) {
    QXFILE* pFile = t_GetFile(ch);
    if (!pFile || ch == 0 || !pFile->bOpen) return;
    CDriver* pDriver = t_Driver(pFile);
    int iError = 0;
    if ((pFile->uFlags & UF_CC) && (pFile->eAccess & ACC_OUTPUT) && pFile->bEndOfRecord && !pFile->bFresh) {
        bool bFailedBefore = false;
        try {
            pDriver->CheckError(pFile);
        } catch (int) {
            bFailedBefore = true;
        }
        try {
            if (!bFailedBefore) {
                char const* psz = t_LineEndChars(pFile->uFlags);
                t_DriverOut(pFile)->Write(pFile, psz, std::strlen(psz));
            }
        } catch (int n) {
            iError = n;
        }
    }
    try {
        pDriver->Close(pFile);
    } catch (int n) {
        if (!iError) iError = n;
    }
    s_Reset(pFile);
    if (iError) {
        pFile->iErrno = iError;
        throw iError;
    }
}

void t_CloseAll() {
    int iError = 0;
    for (int ch = 1; ch < static_cast<int>(FileMngr.aFiles.size()); ++ch) {
        try {
            t_Close(ch);
        } catch (int n) {
            if (!iError) iError = n;
        }
    }
    if (iError) throw iError;
}

void t_FlushAll() {
    for (QXFILE& f : FileMngr.aFiles) {
        if (!f.bOpen || !(f.eAccess & ACC_OUTPUT)) continue;
        try {
            t_Driver(&f)->Flush(&f, true);
        } catch (int) {
            // Kept in the channel: its next statement raises it.
        }
    }
}

int t_NextFile() {
    for (int ch = 1; ch < FileMngr.nChannels - 2; ++ch)
        if (!FileMngr.aFiles[static_cast<std::size_t>(ch)].bOpen) return ch;
    throw static_cast<int>(MORKA_ENOCHANNEL);
}

bool isatty(QXFILE const* pFile) {
    if (!pFile || !pFile->bOpen || !pFile->pStream) return false;
    int fd = fileno(pFile->pStream);
    return fd >= 0 && ::isatty(fd) != 0;
}

}  // namespace morka
