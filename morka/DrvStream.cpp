// DrvStream: the stream driver over stdio (sequential 0x10 and text stream
// 0x100 are two objects of it). OPEN for output truncates only after the lock
// is held, so a program that waits for a file never empties it under the
// program that holds it. Input access takes a shared lock, every other access
// an exclusive one.
#include "DrvStream.h"

#include <morka/FileLock.h>
#include <morka/System.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <stdio_ext.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morka {

namespace {

struct CAccessMode {
    int eAccess;
    int iOpenFlags;
    char const* pszMode;
};
constexpr CAccessMode s_aModes[] = {
    {ACC_INPUT, O_RDONLY, "r"},
    {ACC_OUTPUT, O_WRONLY | O_CREAT, "w"},
    {ACC_UPDATE, O_RDWR | O_CREAT, "r+"},
    {ACC_APPEND, O_WRONLY | O_CREAT | O_APPEND, "a"},
};

int64_t s_NowMs() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

CStreamState* s_State(QXFILE* pFile) { return static_cast<CStreamState*>(pFile->pDriverState); }

CStreamDriver s_Sequential;
CStreamDriver s_Text;

}  // namespace

CDriver& t_SequentialDriver() { return s_Sequential; }
CDriver& t_TextDriver() { return s_Text; }

char const* t_LineEndChars(unsigned uFlags) {
    switch (uFlags & UF_EOL_MASK) {
    case UF_EOL_LF: return "\n";
    case UF_EOL_CR: return "\r";
    case UF_EOL_CRLF: return "\r\n";
    default: return "";
    }
}

bool CStreamDriver::Open(QXFILE* pFile) {
    for (CAccessMode const& m : s_aModes) {
        if (m.eAccess != pFile->eAccess) continue;
        int iFlags = m.iOpenFlags;
        if (pFile->uFlags & UF_NOCREATE) iFlags &= ~O_CREAT;
        if (!OpenStream(pFile, iFlags, m.pszMode, m.eAccess != ACC_INPUT, m.eAccess == ACC_OUTPUT)) return false;
        CStreamState* pState = s_State(pFile);
        if (pState->bRegular && pFile->eOrg == ORG_SEQUENTIAL) {
            pState->pBuffer.reset(new (std::nothrow) char[s_kRecordBuffer]);
            if (pState->pBuffer && setvbuf(pFile->pStream, pState->pBuffer.get(), _IOFBF, s_kRecordBuffer) != 0)
                pState->pBuffer.reset();
        }
        return true;
    }
    Raise(pFile, EINVAL);
}

bool CStreamDriver::OpenStream(QXFILE* pFile, int iOpenFlags, char const* pszMode, bool bExclusive, bool bTruncate) {
    int fd = open(pFile->sPath.c_str(), iOpenFlags | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) Raise(pFile, errno);
    struct stat st {};
    int iSlot = -1;
    try {
        if (fstat(fd, &st) != 0) throw errno;
        if (S_ISDIR(st.st_mode)) throw EISDIR;
        if (!(pFile->uFlags & UF_NOLOCK)) {
            iSlot = t_LockFile(fd, bExclusive);
            if (iSlot < 0) {
                close(fd);
                return false;
            }
        }
        if (bTruncate && S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0) throw errno;
    } catch (int n) {
        t_UnlockFile(iSlot);
        close(fd);
        Raise(pFile, n);
    }
    FILE* f = fdopen(fd, pszMode);
    if (!f) {
        int n = errno;
        t_UnlockFile(iSlot);
        close(fd);
        Raise(pFile, n);
    }
    auto* pState = new CStreamState;
    pState->bRegular = S_ISREG(st.st_mode);
    pState->bUpdate = pFile->eAccess == ACC_UPDATE;
    pState->tLastFlush = s_NowMs();
    pFile->pStream = f;
    pFile->pDriverState = pState;
    pFile->iLockSlot = iSlot;
    t_SetRecordSize(pFile, s_kBufferSize);
    return true;
}

void CStreamDriver::Close(QXFILE* pFile) {
    CStreamState* pState = s_State(pFile);
    int iError = 0;
    if (pFile->pStream) {
        bool bHadError = std::ferror(pFile->pStream) != 0;
        if (std::fclose(pFile->pStream) != 0 && !bHadError) iError = errno ? errno : EIO;
        pFile->pStream = nullptr;
    }
    // The lock goes after the data reached the file, so the next holder sees it.
    t_UnlockFile(pFile->iLockSlot);
    pFile->iLockSlot = -1;
    delete pState;
    pFile->pDriverState = nullptr;
    if (iError) Raise(pFile, iError);
}

void CStreamDriver::WriteFailed(QXFILE* pFile) {
    int n = errno ? errno : EIO;
    if (CStreamState* pState = s_State(pFile); pState && !pState->iError) pState->iError = n;
    Raise(pFile, n);
}

void CStreamDriver::Turn(QXFILE* pFile, bool bWrite) {
    CStreamState* pState = s_State(pFile);
    if (!pState || !pState->bUpdate || pState->bWriting == bWrite) return;
    // stdio wants a positioning call between output and input on one stream.
    std::fseek(pFile->pStream, 0, SEEK_CUR);
    pState->bWriting = bWrite;
}

void CStreamDriver::PutChar(QXFILE* pFile, int c) {
    Turn(pFile, true);
    if (putc_unlocked(c, pFile->pStream) == EOF) WriteFailed(pFile);
}

void CStreamDriver::Write(QXFILE* pFile, char const* pBytes, std::size_t n) {
    Turn(pFile, true);
    if (n && fwrite_unlocked(pBytes, 1, n, pFile->pStream) != n) WriteFailed(pFile);
}

int CStreamDriver::FlushDelayMs() {
    static int s_iDelay = std::max(0, getintenv("b_flushdelay", 0));
    return s_iDelay;
}

void CStreamDriver::Flush(QXFILE* pFile, bool bNow) {
    FILE* f = pFile->pStream;
    if (!f) return;
    CStreamState* pState = s_State(pFile);
    int64_t tNow = 0;
    if (pState && pState->bRegular) {
        tNow = s_NowMs();
        if (!bNow && tNow - pState->tLastFlush < FlushDelayMs()) {
            CheckError(pFile);
            return;
        }
    }
    if (fflush_unlocked(f) != 0) WriteFailed(pFile);
    if (pState) pState->tLastFlush = tNow;
    CheckError(pFile);
}

void CStreamDriver::PutRecord(QXFILE* pFile, char const* pBytes, std::size_t n) {
    CStreamState* pState = s_State(pFile);
    FILE* f = pFile->pStream;
    if (!f || !pState || !pState->pBuffer || !t_LockSole(pFile->iLockSlot)) {
        CDriver::PutRecord(pFile, pBytes, n);
        return;
    }
    Turn(pFile, true);
    // The buffer holds whole records only, so stdio never writes one in part
    // (a record larger than the buffer goes out within this call).
    std::size_t nPending = __fpending(f);
    if (nPending && nPending + n > s_kRecordBuffer) Flush(pFile, true);
    if (static_cast<std::size_t>(f->_IO_write_end - f->_IO_write_ptr) >= n) {
        // What putc_unlocked does byte by byte, in one copy.
        std::memcpy(f->_IO_write_ptr, pBytes, n);
        f->_IO_write_ptr += n;
    } else if (n && fwrite_unlocked(pBytes, 1, n, f) != n) {
        WriteFailed(pFile);
    }
    if (n > s_kRecordBuffer || s_NowMs() - pState->tLastFlush >= s_kRecordDelayMs) Flush(pFile, true);
    else CheckError(pFile);
}

void CStreamDriver::CheckError(QXFILE* pFile) {
    FILE* f = pFile->pStream;
    if (!f || !ferror_unlocked(f)) return;
    CStreamState* pState = s_State(pFile);
    Raise(pFile, pState && pState->iError ? pState->iError : (pFile->iErrno ? pFile->iErrno : EIO));
}

int CStreamDriver::GetChar(QXFILE* pFile) {
    Turn(pFile, false);
    FILE* f = InStream(pFile);
    int c = f ? getc_unlocked(f) : EOF;
    if (c != EOF) return c;
    if (f && ferror_unlocked(f)) Raise(pFile, errno ? errno : EIO);
    // A later read tries the file again: it may have grown meanwhile.
    if (f) clearerr_unlocked(f);
    pFile->bEndOfFile = 1;
    return -1;
}

void CStreamDriver::UngetChar(QXFILE* pFile, int c) {
    Turn(pFile, false);
    FILE* f = InStream(pFile);
    if (f && c >= 0) ungetc(c & 0xFF, f);
}

std::size_t CStreamDriver::Read(QXFILE* pFile, void* pBytes, std::size_t n) {
    Turn(pFile, false);
    FILE* f = InStream(pFile);
    if (!f) return 0;
    std::size_t nRead = fread_unlocked(pBytes, 1, n, f);
    if (nRead < n) {
        if (ferror_unlocked(f)) Raise(pFile, errno ? errno : EIO);
        pFile->bEndOfFile = 1;
    }
    return nRead;
}

bool CStreamDriver::Eof(QXFILE* pFile) {
    Turn(pFile, false);
    FILE* f = InStream(pFile);
    if (!f || !(pFile->eAccess & ACC_INPUT)) return pFile->bEndOfFile != 0;
    int c = getc_unlocked(f);
    if (c == EOF) {
        if (ferror_unlocked(f)) Raise(pFile, errno ? errno : EIO);
        return true;
    }
    ungetc(c, f);
    return false;
}

bool CStreamDriver::ReadLine(QXFILE* pFile) {
    Turn(pFile, false);
    FILE* f = InStream(pFile);
    pFile->nRecordLen = 0;
    pFile->iReadPos = 0;
    if (!f) {
        pFile->bEndOfFile = 1;
        return false;
    }
    int n = 0;
    int c;
    while ((c = getc_unlocked(f)) != EOF && c != '\n' && c != '\r') {
        if (n + 1 >= pFile->nBufferSize) GrowBuffer(pFile, s_kBufferSize);
        pFile->pRecord[n++] = static_cast<unsigned char>(c);
    }
    if (c == '\r') {
        int cNext = getc_unlocked(f);
        if (cNext != '\n' && cNext != EOF) ungetc(cNext, f);
    }
    if (c == EOF && ferror_unlocked(f)) Raise(pFile, errno ? errno : EIO);
    if (pFile->nBufferSize > n) pFile->pRecord[n] = 0;
    pFile->nRecordLen = n;
    if (c == EOF && n == 0) {
        pFile->bEndOfFile = 1;
        return false;
    }
    return true;
}

void CStreamDriver::GrowBuffer(QXFILE* pFile, int nBytes) { t_SetRecordSize(pFile, pFile->nBufferSize + nBytes); }

void CStreamDriver::Attach(QXFILE* pFile, int iDriver) {
    CDriver::Attach(pFile, iDriver);
    pFile->pDriverState = new CStreamState;
    t_SetRecordSize(pFile, s_kBufferSize);
}

// State bytes: "<lock descriptor> <1 exclusive / 0 shared> <1 regular>".
CBString CStreamDriver::SaveState(QXFILE* pFile) {
    if (pFile->pStream) Flush(pFile, true);
    int fdLock = t_LockFd(pFile->iLockSlot);
    if (fdLock >= 0) (void)fcntl(fdLock, F_SETFD, 0);
    CStreamState* pState = s_State(pFile);
    CBString s;
    s.format("%d %d %d", fdLock, t_LockExclusive(pFile->iLockSlot) ? 1 : 0, pState && pState->bRegular ? 1 : 0);
    return s;
}

void CStreamDriver::RestoreState(QXFILE* pFile, CBString const& sState) {
    int fdLock = -1, iExclusive = 0, iRegular = 0;
    if (std::sscanf(sState.c_str(), "%d %d %d", &fdLock, &iExclusive, &iRegular) != 3) return;
    if (fdLock >= 0) pFile->iLockSlot = t_AdoptLock(fdLock, iExclusive != 0);
    if (CStreamState* pState = s_State(pFile)) {
        pState->bRegular = iRegular != 0;
        pState->tLastFlush = s_NowMs();
    }
}

}  // namespace morka
