// StoreLock: record locks of store files, one byte of the data file each,
// locked with open-file-description locks (see include/morka/Store.h for the
// offsets and what a hash collision does). The kernel releases them when the
// description closes or its process dies; they never touch LMDB's own locks,
// which live in the "-lock" file.
#include <morka/Store.h>
#include <morka/FileMngr.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace morka {

namespace {

constexpr long long LOCK_BASE = 1LL << 62;

bool s_Fcntl(int fd, int iCmd, short iType, long long iOffset, struct flock* pOut = nullptr) {
    struct flock fl = {};
    fl.l_type = iType;
    fl.l_whence = SEEK_SET;
    fl.l_start = iOffset;
    fl.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, iCmd, &fl);
    } while (rc < 0 && errno == EINTR);
    if (pOut) *pOut = fl;
    if (rc == 0) return true;
    if (errno == EAGAIN || errno == EACCES) return false;
    throw errno;
}

}  // namespace

CRecordLock::~CRecordLock() { Close(); }

void CRecordLock::Open(char const* pszPath, bool bWrite) {
    Close();
    m_fd = ::open(pszPath, (bWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (m_fd < 0 && bWrite && errno == EACCES) throw 13;
    if (m_fd < 0) throw errno;
}

void CRecordLock::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

long long CRecordLock::Offset(int eOrg, std::string_view sKey) {
    if (eOrg == ORG_DIRECT) return LOCK_BASE + t_KeyRecno(sKey);
    uint64_t h = 14695981039346656037ULL;  // FNV-1a
    for (char c : sKey) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return LOCK_BASE + static_cast<long long>(h & (static_cast<uint64_t>(LOCK_BASE) - 1));
}

bool CRecordLock::Take(long long iOffset) { return s_Fcntl(m_fd, F_OFD_SETLK, F_WRLCK, iOffset); }

bool CRecordLock::HeldElsewhere(long long iOffset) {
    struct flock fl;
    s_Fcntl(m_fd, F_OFD_GETLK, F_RDLCK, iOffset, &fl);
    return fl.l_type != F_UNLCK;
}

void CRecordLock::Release(long long iOffset) {
    if (m_fd >= 0) s_Fcntl(m_fd, F_OFD_SETLK, F_UNLCK, iOffset);
}

}  // namespace morka
