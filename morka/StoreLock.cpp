// StoreLock: record locks of store files, held in a lock table in shared
// memory, one table per data file. Taking, testing and releasing a lock is a
// probe of a hash table under a process-shared robust mutex: no system call
// on the way of a read or write (a per-record fcntl lock and its release cost
// twice an LMDB read). Who is alive is still the kernel's word: every channel
// claims an owner slot of the table by an open-file-description lock on one
// byte of the table file and holds it until it closes. A lock found held by
// an owner whose byte is no longer locked (the program was killed) or whose
// slot has been claimed again since (generation mismatch) is stale and taken
// over, so the locks of a killed program vanish with it as fcntl locks would.
//
// The table file is "/dev/shm/morka-rlock-<device>-<inode>" of the data file
// (/tmp when /dev/shm is missing), mode 0666 so that the programs of every
// user meet in it. Opening and closing a table happen under a write lock on
// byte 0 of the file; every user holds a read lock on the users byte, and the
// last to close (its write lock on that byte succeeds) removes the file.
// An opener that finds the name gone or replaced once it holds byte 0 starts
// again. A table that runs full raises 1014.
#include <morka/Store.h>
#include <morka/FileMngr.h>
#include <morka/System.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morka {

namespace {

constexpr uint32_t TABLE_MAGIC = 0x4B434C52;  // "RLCK"
constexpr uint32_t TABLE_VERSION = 1;
constexpr uint32_t MAX_OWNERS = 4096;         // channels on one file at a time
constexpr uint32_t TABLE_ENTRIES = 16384;     // a power of two
constexpr off_t OPEN_BYTE = 0;                // opening and closing a table
constexpr off_t OWNER_BYTE = 1;               // owner slot s locks byte 1 + s
constexpr off_t USERS_BYTE = OWNER_BYTE + MAX_OWNERS;

// One held record: uOwner is the owner slot + 1 (0: free).
struct CLockEntry {
    uint64_t uId;
    uint32_t uOwner;
    uint32_t uGeneration;
};

struct CLockTableImage {
    std::atomic<uint32_t> uMagic;
    uint32_t uVersion;
    pthread_mutex_t mutex;
    std::atomic<uint32_t> nHeld;              // entries in use: 0 spares testers the mutex
    uint32_t aGeneration[MAX_OWNERS];         // bumped whenever a slot is claimed
    CLockEntry aEntries[TABLE_ENTRIES];
};

int s_Fcntl(int fd, int iCmd, short iType, off_t iOffset, struct flock* pOut = nullptr) {
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
    return rc == 0 ? 0 : errno;
}

bool s_TryLock(int fd, short iType, off_t iOffset) {
    int rc = s_Fcntl(fd, F_OFD_SETLK, iType, iOffset);
    if (rc == 0) return true;
    if (rc == EAGAIN || rc == EACCES) return false;
    throw rc;
}

void s_WaitLock(int fd, off_t iOffset) {
    if (int rc = s_Fcntl(fd, F_OFD_SETLKW, F_WRLCK, iOffset)) throw rc;
}

void s_Unlock(int fd, off_t iOffset) { s_Fcntl(fd, F_OFD_SETLK, F_UNLCK, iOffset); }

std::string s_TableName(struct stat const& st) {
    char sz[96];
    char const* pszDir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::snprintf(sz, sizeof sz, "%s/morka-rlock-%llx-%llx", pszDir, static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    return sz;
}

uint32_t s_Home(uint64_t uId) {
    uint64_t h = uId * 0x9E3779B97F4A7C15ULL;
    return static_cast<uint32_t>(h >> 32) & (TABLE_ENTRIES - 1);
}

void s_InitImage(CLockTableImage* p) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(&p->mutex, &attr);
    pthread_mutexattr_destroy(&attr);
    p->uVersion = TABLE_VERSION;
    p->uMagic.store(TABLE_MAGIC, std::memory_order_release);
}

}  // namespace

// The table of one data file as seen by one channel: the mapping, the table
// file's description (which holds the owner slot) and the slot.
struct CRecordLock::CTable {
    int fd = -1;
    CLockTableImage* pImage = nullptr;
    uint32_t uSlot = 0;
    uint32_t uGeneration = 0;   // of the slot
    unsigned uForks = 0;        // CStore::Generation() of the process that opened it
    std::string sName;

    bool Mine(CLockEntry const& e) const { return e.uOwner == uSlot + 1 && e.uGeneration == uGeneration; }
    // True when the entry's owner still runs and has not left its slot.
    bool Alive(CLockEntry const& e) const {
        uint32_t uOther = e.uOwner - 1;
        if (pImage->aGeneration[uOther] != e.uGeneration) return false;
        if (uOther == uSlot) return true;
        struct flock fl;
        if (int rc = s_Fcntl(fd, F_OFD_GETLK, F_WRLCK, OWNER_BYTE + uOther, &fl)) throw rc;
        return fl.l_type != F_UNLCK;
    }
};

namespace {

// The table mutex for one probe; a holder that died inside it may have left
// an entry moved twice, so the table is rebuilt before it is used again.
class CTableGuard {
public:
    explicit CTableGuard(CLockTableImage* p) : m_p(p) {
        int rc = pthread_mutex_lock(&p->mutex);
        if (rc == EOWNERDEAD) {
            Rebuild();
            pthread_mutex_consistent(&p->mutex);
        } else if (rc) {
            throw rc;
        }
    }
    ~CTableGuard() { pthread_mutex_unlock(&m_p->mutex); }
    CTableGuard(CTableGuard const&) = delete;
    CTableGuard& operator=(CTableGuard const&) = delete;

    // Index of the entry for uId, or of the free entry ending its probe.
    uint32_t Find(uint64_t uId) const {
        for (uint32_t i = s_Home(uId);; i = (i + 1) & (TABLE_ENTRIES - 1)) {
            CLockEntry const& e = m_p->aEntries[i];
            if (e.uOwner == 0 || e.uId == uId) return i;
        }
    }

    // Frees entry i and moves later entries of its probe run back into the
    // gap, so that every probe still ends at the first free entry.
    void Remove(uint32_t i) {
        CLockEntry* a = m_p->aEntries;
        uint32_t j = i;
        for (;;) {
            j = (j + 1) & (TABLE_ENTRIES - 1);
            if (a[j].uOwner == 0) break;
            uint32_t k = s_Home(a[j].uId);
            bool bStays = i <= j ? (i < k && k <= j) : (i < k || k <= j);
            if (bStays) continue;
            a[i] = a[j];
            i = j;
        }
        a[i] = CLockEntry{};
        m_p->nHeld.fetch_sub(1, std::memory_order_release);
    }

    void Insert(uint32_t i, uint64_t uId, uint32_t uSlot, uint32_t uGeneration) {
        if (m_p->nHeld.load(std::memory_order_relaxed) >= TABLE_ENTRIES - 1) throw static_cast<int>(MORKA_ERESOURCE);
        m_p->aEntries[i] = CLockEntry{uId, uSlot + 1, uGeneration};
        m_p->nHeld.fetch_add(1, std::memory_order_release);
    }

private:
    void Rebuild() {
        static CLockEntry s_aCopy[TABLE_ENTRIES];
        std::memcpy(s_aCopy, m_p->aEntries, sizeof s_aCopy);
        std::memset(m_p->aEntries, 0, sizeof m_p->aEntries);
        m_p->nHeld.store(0, std::memory_order_relaxed);
        for (CLockEntry const& e : s_aCopy) {
            if (e.uOwner == 0) continue;
            uint32_t i = Find(e.uId);
            if (m_p->aEntries[i].uOwner == 0) Insert(i, e.uId, e.uOwner - 1, e.uGeneration);
        }
    }

    CLockTableImage* m_p;
};

}  // namespace

CRecordLock::CRecordLock() = default;
CRecordLock::~CRecordLock() { Close(); }

void CRecordLock::Open(char const* pszPath) {
    Close();
    struct stat stData;
    if (::stat(pszPath, &stData) != 0) throw errno;
    auto pTable = std::make_unique<CTable>();
    pTable->uForks = CStore::Generation();
    pTable->sName = s_TableName(stData);
    for (;;) {
        int fd = ::open(pTable->sName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) throw errno;
        pTable->fd = fd;
        s_WaitLock(fd, OPEN_BYTE);
        struct stat stMine, stNamed;
        if (::fstat(fd, &stMine) != 0) throw errno;
        if (::stat(pTable->sName.c_str(), &stNamed) == 0 && stNamed.st_ino == stMine.st_ino &&
            stNamed.st_dev == stMine.st_dev)
            break;
        // The last user removed this one after we opened it: start again.
        ::close(fd);
        pTable->fd = -1;
    }
    int fd = pTable->fd;
    try {
        struct stat st;
        if (::fstat(fd, &st) != 0) throw errno;
        if (st.st_size < static_cast<off_t>(sizeof(CLockTableImage))) {
            ::fchmod(fd, 0666);  // whatever the umask: other users' programs meet here too
            if (::ftruncate(fd, sizeof(CLockTableImage)) != 0) throw errno;
        }
        void* p = ::mmap(nullptr, sizeof(CLockTableImage), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (p == MAP_FAILED) throw errno;
        pTable->pImage = static_cast<CLockTableImage*>(p);
        if (pTable->pImage->uMagic.load(std::memory_order_acquire) != TABLE_MAGIC) s_InitImage(pTable->pImage);
        if (pTable->pImage->uVersion != TABLE_VERSION) throw static_cast<int>(MORKA_ERESOURCE);
        if (!s_TryLock(fd, F_RDLCK, USERS_BYTE)) throw static_cast<int>(MORKA_ERESOURCE);
        uint32_t uStart = static_cast<uint32_t>(::getpid()) % MAX_OWNERS;
        bool bClaimed = false;
        for (uint32_t n = 0; n < MAX_OWNERS && !bClaimed; ++n) {
            uint32_t uSlot = (uStart + n) % MAX_OWNERS;
            if (!s_TryLock(fd, F_WRLCK, OWNER_BYTE + uSlot)) continue;
            CTableGuard guard(pTable->pImage);
            pTable->uSlot = uSlot;
            pTable->uGeneration = ++pTable->pImage->aGeneration[uSlot];
            bClaimed = true;
        }
        if (!bClaimed) throw static_cast<int>(MORKA_ERESOURCE);
    } catch (int) {
        if (pTable->pImage) ::munmap(pTable->pImage, sizeof(CLockTableImage));
        s_Unlock(fd, OPEN_BYTE);
        ::close(fd);
        throw;
    }
    s_Unlock(fd, OPEN_BYTE);
    m_pTable = std::move(pTable);
}

void CRecordLock::Close() {
    if (!m_pTable) return;
    CTable& t = *m_pTable;
    // A child after fork() shares the parent's description: it must leave the
    // parent's slot and locks alone and only let go of its own handles.
    if (t.uForks == CStore::Generation() && s_Fcntl(t.fd, F_OFD_SETLKW, F_WRLCK, OPEN_BYTE) == 0) {
        {
            CTableGuard guard(t.pImage);
            for (uint32_t i = 0; i < TABLE_ENTRIES;) {
                CLockEntry const& e = t.pImage->aEntries[i];
                if (t.Mine(e))
                    guard.Remove(i);  // a later entry may move here: look again
                else
                    ++i;
            }
        }
        s_Unlock(t.fd, OWNER_BYTE + t.uSlot);
        s_Unlock(t.fd, USERS_BYTE);
        if (s_TryLock(t.fd, F_WRLCK, USERS_BYTE)) ::unlink(t.sName.c_str());
        s_Unlock(t.fd, USERS_BYTE);
        s_Unlock(t.fd, OPEN_BYTE);
    }
    ::munmap(t.pImage, sizeof(CLockTableImage));
    ::close(t.fd);
    m_pTable.reset();
}

long long CRecordLock::Id(int eOrg, std::string_view sKey) {
    if (eOrg == ORG_DIRECT) return t_KeyRecno(sKey);
    uint64_t h = 14695981039346656037ULL;  // FNV-1a
    for (char c : sKey) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return static_cast<long long>(h >> 1);
}

bool CRecordLock::Take(long long iId, long long iRelease) {
    CTable& t = *m_pTable;
    uint64_t uId = static_cast<uint64_t>(iId);
    CTableGuard guard(t.pImage);
    if (iRelease >= 0) {
        uint32_t i = guard.Find(static_cast<uint64_t>(iRelease));
        if (t.Mine(t.pImage->aEntries[i])) guard.Remove(i);
    }
    for (;;) {
        uint32_t i = guard.Find(uId);
        CLockEntry const& e = t.pImage->aEntries[i];
        if (e.uOwner == 0) {
            guard.Insert(i, uId, t.uSlot, t.uGeneration);
            return true;
        }
        if (t.Mine(e)) return true;
        if (t.Alive(e)) return false;
        guard.Remove(i);
    }
}

bool CRecordLock::HeldElsewhere(long long iId) {
    CTable& t = *m_pTable;
    if (t.pImage->nHeld.load(std::memory_order_acquire) == 0) return false;
    uint64_t uId = static_cast<uint64_t>(iId);
    CTableGuard guard(t.pImage);
    for (;;) {
        uint32_t i = guard.Find(uId);
        CLockEntry const& e = t.pImage->aEntries[i];
        if (e.uOwner == 0) return false;
        if (t.Mine(e)) return false;
        if (t.Alive(e)) return true;
        guard.Remove(i);
    }
}

void CRecordLock::Release(long long iId) {
    if (!m_pTable) return;
    CTable& t = *m_pTable;
    uint64_t uId = static_cast<uint64_t>(iId);
    CTableGuard guard(t.pImage);
    uint32_t i = guard.Find(uId);
    CLockEntry const& e = t.pImage->aEntries[i];
    if (t.Mine(e)) guard.Remove(i);
}

}  // namespace morka
