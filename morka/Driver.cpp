// Driver: the base driver (every operation an organisation lacks answers
// 1011), the driver table with its organisation map, the buffer helpers, and
// the name operations on plain files that stream drivers inherit.
#include <morka/Driver.h>
#include <morka/System.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace morka {

CDriver& t_ConsoleDriver();
CDriver& t_SequentialDriver();
CDriver& t_TextDriver();
CDriver& t_PrinterDriver();
CDriver& t_KeyedDriver();
CDriver& t_DirectDriver();
CDriver& t_RawDriver();

namespace {

// Stands in an empty slot: it opens nothing.
class CNoDriver : public CDriver {
public:
    bool Open(QXFILE* pFile) override { Raise(pFile, MORKA_EBADORG); }
    void Close(QXFILE*) override {}
    void Create(CBString const&, CCreateArgs const&) override { throw static_cast<int>(MORKA_EBADORG); }
};

CNoDriver s_NoDriver;
CDriver* s_apDrivers[DRV_COUNT];
bool s_bFilled = false;

void s_Fill() {
    if (s_bFilled) return;
    s_bFilled = true;
    s_apDrivers[DRV_CONSOLE] = &t_ConsoleDriver();
    s_apDrivers[DRV_SEQUENTIAL] = &t_SequentialDriver();
    s_apDrivers[DRV_TEXT] = &t_TextDriver();
    s_apDrivers[DRV_PRINTER] = &t_PrinterDriver();
    s_apDrivers[DRV_KEYED] = &t_KeyedDriver();
    s_apDrivers[DRV_DIRECT] = &t_DirectDriver();
    s_apDrivers[DRV_RAW] = &t_RawDriver();
}

struct COrgSlot {
    int eOrg;
    int iSlot;
};
constexpr COrgSlot s_aOrgSlots[] = {
    {ORG_KEYED, DRV_KEYED},   {ORG_KEYED2, DRV_KEYED},     {ORG_KEYED3, DRV_KEYED},
    {ORG_DIRECT, DRV_DIRECT}, {ORG_DIRECT2, DRV_DIRECT},   {ORG_RAW, DRV_RAW},
    {ORG_ISAM, DRV_ISAM},     {ORG_SEQUENTIAL, DRV_SEQUENTIAL}, {ORG_TEXT, DRV_TEXT},
};

[[noreturn]] void s_RaiseErrno() { throw errno ? errno : EIO; }

bool s_Exists(CBString const& sPath) {
    struct stat st {};
    return lstat(sPath.c_str(), &st) == 0;
}

// Copies the bytes of fdFrom to fdTo; raises the failing call's errno.
void s_CopyBytes(int fdFrom, int fdTo) {
    char aBuf[65536];
    for (;;) {
        ssize_t n = read(fdFrom, aBuf, sizeof aBuf);
        if (n < 0) {
            if (errno == EINTR) continue;
            s_RaiseErrno();
        }
        if (n == 0) return;
        for (ssize_t iDone = 0; iDone < n;) {
            ssize_t w = write(fdTo, aBuf + iDone, static_cast<std::size_t>(n - iDone));
            if (w < 0) {
                if (errno == EINTR) continue;
                s_RaiseErrno();
            }
            iDone += w;
        }
    }
}

mode_t s_Umask() {
    mode_t m = umask(0);
    umask(m);
    return m;
}

}  // namespace

CDriver* t_GetDriver(int i) {
    if (i < 0 || i >= DRV_COUNT) return nullptr;
    s_Fill();
    return s_apDrivers[i] ? s_apDrivers[i] : &s_NoDriver;
}

void t_SetDriver(int i, CDriver* pDriver) {
    if (i < 0 || i >= DRV_COUNT) return;
    s_Fill();
    s_apDrivers[i] = pDriver;
}

int t_DriverOfOrg(int eOrg) {
    for (COrgSlot const& e : s_aOrgSlots)
        if (e.eOrg == eOrg) return e.iSlot;
    return -1;
}

CDriver* t_Driver(QXFILE const* pFile) {
    CDriver* p = t_GetDriver(pFile->iDriver);
    return p ? p : &s_NoDriver;
}

CDriver* t_DriverOut(QXFILE const* pFile) {
    CDriver* p = pFile->iDriverOut ? t_GetDriver(pFile->iDriverOut) : t_GetDriver(pFile->iDriver);
    return p ? p : &s_NoDriver;
}

void t_SetRecordSize(QXFILE* pFile, int nSize) {
    if (nSize < 0) nSize = 0;
    void* p = std::realloc(pFile->pRecord, static_cast<std::size_t>(nSize ? nSize : 1));
    if (!p) throw 12;
    pFile->pRecord = static_cast<unsigned char*>(p);
    if (nSize > pFile->nBufferSize)
        std::memset(pFile->pRecord + pFile->nBufferSize, 0, static_cast<std::size_t>(nSize - pFile->nBufferSize));
    pFile->nBufferSize = nSize;
}

void t_SetKeyLen(QXFILE* pFile, int nKeyLen) {
    if (nKeyLen < 0) nKeyLen = 0;
    void* p = std::calloc(static_cast<std::size_t>(nKeyLen) + 1, 1);
    if (!p) throw 12;
    std::free(pFile->pKey);
    pFile->pKey = static_cast<char*>(p);
    pFile->nKeyLen = nKeyLen;
}

void CDriver::Raise(QXFILE* pFile, int n) {
    if (pFile) pFile->iErrno = n;
    throw n;
}

void CDriver::Describe(QXFILE* pFile, CBString const&) { pFile->iClass = CLASS_NONE; }
void CDriver::PutChar(QXFILE* pFile, int) { Raise(pFile, MORKA_EBADORG); }
void CDriver::Write(QXFILE* pFile, char const*, std::size_t) { Raise(pFile, MORKA_EBADORG); }
void CDriver::Flush(QXFILE*, bool) {}
void CDriver::PutRecord(QXFILE* pFile, char const* pBytes, std::size_t n) {
    Write(pFile, pBytes, n);
    Flush(pFile, false);
}
void CDriver::CheckError(QXFILE*) {}
int CDriver::GetChar(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
void CDriver::UngetChar(QXFILE* pFile, int) { Raise(pFile, MORKA_EBADORG); }
std::size_t CDriver::Read(QXFILE* pFile, void*, std::size_t) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::Eof(QXFILE* pFile) { return pFile->bEndOfFile != 0; }
bool CDriver::ReadLine(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::ReadRecord(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::ReadKey(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::ReadNext(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::ReadPrev(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::ReadTop(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::ReadEnd(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::WriteRecord(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
bool CDriver::DeleteRecord(QXFILE* pFile) { Raise(pFile, MORKA_EBADORG); }
void CDriver::Unlock(QXFILE*) {}
void CDriver::GrowBuffer(QXFILE* pFile, int) { Raise(pFile, MORKA_EBUFFER); }

void CDriver::Attach(QXFILE* pFile, int iDriver) {
    pFile->iDriver = iDriver;
    pFile->pStream = nullptr;
    pFile->pDriverState = nullptr;
    pFile->pKey = nullptr;
    pFile->pRecord = nullptr;
    pFile->nBufferSize = 0;
    pFile->iLockSlot = -1;
}

CBString CDriver::SaveState(QXFILE*) { return CBString(); }
void CDriver::RestoreState(QXFILE*, CBString const&) {}

bool CDriver::Probe(CBString const&) { return false; }

void CDriver::Create(CBString const& sPath, CCreateArgs const&) {
    int fd = open(sPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) s_RaiseErrno();
    close(fd);
}

void CDriver::Remove(CBString const& sPath) {
    struct stat st {};
    if (lstat(sPath.c_str(), &st) != 0) s_RaiseErrno();
    int r = S_ISDIR(st.st_mode) ? rmdir(sPath.c_str()) : unlink(sPath.c_str());
    if (r != 0) s_RaiseErrno();
}

void CDriver::Rename(CBString const& sFrom, CBString const& sTo) {
    if (renameat2(AT_FDCWD, sFrom.c_str(), AT_FDCWD, sTo.c_str(), RENAME_NOREPLACE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS) s_RaiseErrno();
    // A file system without RENAME_NOREPLACE: link and unlink never replace.
    if (!s_Exists(sFrom)) throw ENOENT;
    if (s_Exists(sTo)) throw EEXIST;
    if (link(sFrom.c_str(), sTo.c_str()) != 0) {
        if (errno != EPERM && errno != EXDEV) s_RaiseErrno();
        if (std::rename(sFrom.c_str(), sTo.c_str()) != 0) s_RaiseErrno();
        return;
    }
    if (unlink(sFrom.c_str()) != 0) s_RaiseErrno();
}

void CDriver::Clear(CBString const& sPath) {
    int fd = open(sPath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) s_RaiseErrno();
    int r = ftruncate(fd, 0);
    int iErr = errno;
    close(fd);
    if (r != 0) throw iErr;
}

void CDriver::Copy(CBString const& sFrom, CBString const& sTo, bool bReplace, bool bKeep) {
    int fdFrom = open(sFrom.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fdFrom < 0) s_RaiseErrno();
    struct stat st {};
    if (fstat(fdFrom, &st) != 0 || S_ISDIR(st.st_mode)) {
        int iErr = S_ISDIR(st.st_mode) ? EISDIR : errno;
        close(fdFrom);
        throw iErr;
    }
    if (!bReplace && s_Exists(sTo)) {
        close(fdFrom);
        throw EEXIST;
    }
    // The copy is written beside the target and renamed into place, so a
    // failed copy (a full disk) leaves the old target as it was.
    CBString sTemp = sTo + ".cpXXXXXX";
    int fdTo = mkostemp(sTemp.data(), O_CLOEXEC);
    if (fdTo < 0) {
        int iErr = errno;
        close(fdFrom);
        throw iErr;
    }
    try {
        s_CopyBytes(fdFrom, fdTo);
        if (fchmod(fdTo, bKeep ? (st.st_mode & 07777) : (0666 & ~s_Umask())) != 0) s_RaiseErrno();
        if (bKeep) {
            struct timespec at[2] = {st.st_atim, st.st_mtim};
            (void)futimens(fdTo, at);
        }
        if (close(fdTo) != 0) {
            fdTo = -1;
            s_RaiseErrno();
        }
        fdTo = -1;
        if (!bReplace) {
            if (link(sTemp.c_str(), sTo.c_str()) != 0) s_RaiseErrno();
            unlink(sTemp.c_str());
        } else if (std::rename(sTemp.c_str(), sTo.c_str()) != 0) {
            s_RaiseErrno();
        }
    } catch (int) {
        if (fdTo >= 0) close(fdTo);
        unlink(sTemp.c_str());
        close(fdFrom);
        throw;
    }
    close(fdFrom);
}

}  // namespace morka
