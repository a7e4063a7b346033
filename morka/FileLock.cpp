// FileLock: the table of whole-file locks of this program. Each entry owns a
// descriptor reopened through /proc/self/fd (the same file even when it was
// renamed or removed meanwhile) and holds the OFD lock on it. Entries are
// counted per file (device and inode); an entry is never lowered from
// exclusive to shared while it lives. A whole-file lock covers bytes
// [0, 2^62) of the file.
#include <morka/FileLock.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace morka {

namespace {

struct CLockEntry {
    dev_t uDev = 0;
    ino_t uIno = 0;
    int fd = -1;             // descriptor holding the lock; -1 when the entry is free
    bool bLocked = false;    // false: the file system has no locks
    bool bExclusive = false;
    int nUsers = 0;
};

std::vector<CLockEntry> s_aLocks;

constexpr off_t FILE_LOCK_LEN = static_cast<off_t>(1) << 62;

// 1 locked, 0 held by another program, -1 no locks on this file system.
int s_SetLock(int fd, short iType, off_t start, off_t len) {
    struct flock fl {};
    fl.l_type = iType;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = len;
    if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return 1;
    if (errno == EAGAIN || errno == EACCES) return 0;
    if (errno == EINVAL || errno == ENOLCK || errno == EOPNOTSUPP) return -1;
    throw errno;
}

int s_Reopen(int fd) {
    char szPath[64];
    std::snprintf(szPath, sizeof szPath, "/proc/self/fd/%d", fd);
    // Read-write when allowed, so that the entry can later be raised to an
    // exclusive lock on the same open file description.
    int fdLock = open(szPath, O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fdLock < 0 && (errno == EACCES || errno == EROFS || errno == ETXTBSY))
        fdLock = open(szPath, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fdLock < 0) throw errno;
    return fdLock;
}

int s_NewSlot() {
    for (std::size_t i = 0; i < s_aLocks.size(); ++i)
        if (s_aLocks[i].fd < 0 && s_aLocks[i].nUsers == 0) return static_cast<int>(i);
    s_aLocks.emplace_back();
    return static_cast<int>(s_aLocks.size() - 1);
}

}  // namespace

int t_LockFile(int fd, bool bExclusive) {
    struct stat st {};
    if (fstat(fd, &st) != 0) throw errno;
    for (std::size_t i = 0; i < s_aLocks.size(); ++i) {
        CLockEntry& e = s_aLocks[i];
        if (e.nUsers == 0 || e.uDev != st.st_dev || e.uIno != st.st_ino) continue;
        if (bExclusive && !e.bExclusive && e.bLocked) {
            int r;
            try {
                r = s_SetLock(e.fd, F_WRLCK, 0, FILE_LOCK_LEN);
            } catch (int n) {
                // The entry's descriptor is read-only: the file is not writable.
                throw n == EBADF ? EACCES : n;
            }
            if (r == 0) return -1;
            e.bExclusive = r == 1;
        }
        ++e.nUsers;
        return static_cast<int>(i);
    }
    int fdLock = s_Reopen(fd);
    int r;
    try {
        r = s_SetLock(fdLock, bExclusive ? F_WRLCK : F_RDLCK, 0, FILE_LOCK_LEN);
    } catch (int) {
        close(fdLock);
        throw;
    }
    if (r == 0) {
        close(fdLock);
        return -1;
    }
    int iSlot = s_NewSlot();
    CLockEntry& e = s_aLocks[static_cast<std::size_t>(iSlot)];
    e.uDev = st.st_dev;
    e.uIno = st.st_ino;
    e.fd = fdLock;
    e.bLocked = r == 1;
    e.bExclusive = bExclusive && e.bLocked;
    e.nUsers = 1;
    return iSlot;
}

void t_UnlockFile(int iSlot) {
    if (iSlot < 0 || iSlot >= static_cast<int>(s_aLocks.size())) return;
    CLockEntry& e = s_aLocks[static_cast<std::size_t>(iSlot)];
    if (e.nUsers <= 0) return;
    if (--e.nUsers > 0) return;
    if (e.fd >= 0) close(e.fd);
    e = CLockEntry{};
}

int t_LockFd(int iSlot) {
    if (iSlot < 0 || iSlot >= static_cast<int>(s_aLocks.size())) return -1;
    return s_aLocks[static_cast<std::size_t>(iSlot)].fd;
}

bool t_LockExclusive(int iSlot) {
    if (iSlot < 0 || iSlot >= static_cast<int>(s_aLocks.size())) return false;
    return s_aLocks[static_cast<std::size_t>(iSlot)].bExclusive;
}

bool t_LockSole(int iSlot) {
    if (iSlot < 0 || iSlot >= static_cast<int>(s_aLocks.size())) return false;
    CLockEntry const& e = s_aLocks[static_cast<std::size_t>(iSlot)];
    return e.bLocked && e.bExclusive && e.nUsers == 1;
}

int t_AdoptLock(int fd, bool bExclusive) {
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) return -1;
    for (std::size_t i = 0; i < s_aLocks.size(); ++i) {
        CLockEntry& e = s_aLocks[i];
        if (e.nUsers > 0 && e.fd == fd) {
            ++e.nUsers;
            return static_cast<int>(i);
        }
    }
    (void)fcntl(fd, F_SETFD, FD_CLOEXEC);
    int iSlot = s_NewSlot();
    CLockEntry& e = s_aLocks[static_cast<std::size_t>(iSlot)];
    e.uDev = st.st_dev;
    e.uIno = st.st_ino;
    e.fd = fd;
    e.bLocked = true;
    e.bExclusive = bExclusive;
    e.nUsers = 1;
    return iSlot;
}

int t_LockRange(int fd, off_t start, off_t len, bool bExclusive, bool bUnlock) {
    int r = s_SetLock(fd, bUnlock ? F_UNLCK : (bExclusive ? F_WRLCK : F_RDLCK), start, len);
    return r == 0 ? 0 : 1;
}

}  // namespace morka
