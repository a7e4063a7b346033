// Store: LMDB environments of store files (see include/morka/Store.h for the
// file layout, durability and locks). Choices made here:
// - a map of 64 GiB per file (address space only; the file grows as it
//   fills), 512 reader slots, at most 16 named databases;
// - a file the process may not write is opened read-only;
// - readers left behind by dead processes are cleared at each open;
// - the header is "VLBRSTOR", then version, organisation, record size and
//   maximum key length as 32-bit little-endian numbers;
// - after fork() the child never touches the parent's environments (LMDB
//   forbids it; closing one would free the parent's reader slot): they are
//   left alone and the child opens its own.
#include <morka/Store.h>
#include <morka/FileMngr.h>
#include <morka/System.h>

#include <lmdb.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace morka {

namespace {

constexpr std::size_t MAP_STEP = 8ULL << 20;   // map sizes are multiples of this
constexpr std::size_t MAP_MAX = 1ULL << 40;
constexpr unsigned MAX_READERS = 512;
constexpr unsigned MAX_DBS = 16;
constexpr long long SYNC_SECONDS = 5;
constexpr char HEADER_MAGIC[8] = {'V', 'L', 'B', 'R', 'S', 'T', 'O', 'R'};
constexpr uint32_t HEADER_VERSION = 1;
constexpr int MAX_KEY_LEN = 510;  // LMDB's key limit (511) less the NUL that ends a stored key
constexpr int MAX_RECORD_SIZE = 16 << 20;

std::map<std::pair<dev_t, ino_t>, std::weak_ptr<CStore>> s_mapOpen;
unsigned s_uGeneration = 0;
bool s_bAtFork = false;

void s_ForkChild() {
    ++s_uGeneration;
    s_mapOpen.clear();
}

long long s_Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return ts.tv_sec;
}

void s_PutLe32(unsigned char* p, uint32_t u) {
    for (int i = 0; i < 4; ++i, u >>= 8) p[i] = static_cast<unsigned char>(u);
}

uint32_t s_GetLe32(unsigned char const* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

std::size_t s_RoundMap(std::size_t n) { return n <= MAP_STEP ? MAP_STEP : (n + MAP_STEP - 1) / MAP_STEP * MAP_STEP; }

// Gives the file nBytes of disk blocks: a written map must never meet a hole
// the disk cannot fill (the program would die of SIGBUS); a full disk is
// error 28 here instead.
int s_Reserve(int fd, std::size_t nBytes) {
    int rc = ::posix_fallocate(fd, 0, static_cast<off_t>(nBytes));
    return rc == ENOSPC ? MDB_MAP_FULL : rc;
}

// Opens the environment of pszPath into *ppEnv; returns an LMDB result. The
// map starts at the file's size (LMDB raises it to what the data needs); a
// written map gets its blocks first, and when the disk cannot give them the
// file opens without one.
int s_OpenEnv(char const* pszPath, unsigned uFlags, MDB_env** ppEnv) {
    std::size_t nMap = MAP_STEP;
    struct stat st;
    if (::stat(pszPath, &st) == 0) nMap = s_RoundMap(static_cast<std::size_t>(st.st_size));
    if (uFlags & MDB_WRITEMAP) {
        int fd = ::open(pszPath, O_RDWR | O_CLOEXEC);
        if (fd < 0 || s_Reserve(fd, nMap) != 0) uFlags &= ~static_cast<unsigned>(MDB_WRITEMAP);
        if (fd >= 0) ::close(fd);
    }
    MDB_env* pEnv = nullptr;
    int rc = mdb_env_create(&pEnv);
    if (rc) return rc;
    mdb_env_set_maxdbs(pEnv, MAX_DBS);
    mdb_env_set_maxreaders(pEnv, MAX_READERS);
    mdb_env_set_mapsize(pEnv, nMap);
    rc = mdb_env_open(pEnv, pszPath, uFlags | MDB_NOSUBDIR | MDB_NOTLS, 0666);
    if (rc) {
        mdb_env_close(pEnv);
        return rc;
    }
    int nDead = 0;
    mdb_reader_check(pEnv, &nDead);
    *ppEnv = pEnv;
    return 0;
}

// Commits go to a written map and are not forced one by one, or (b_syncwrite)
// are forced to disk each.
unsigned s_SyncFlags(bool& bSyncEach) {
    bSyncEach = getintenv("b_syncwrite", 0) != 0;
    return bSyncEach ? 0 : MDB_NOSYNC | MDB_WRITEMAP;
}

// Aborts a transaction unless it was handed on.
class CTxnGuard {
public:
    explicit CTxnGuard(MDB_txn* pTxn) : m_pTxn(pTxn) {}
    ~CTxnGuard() {
        if (m_pTxn) mdb_txn_abort(m_pTxn);
    }
    MDB_txn* Release() { return std::exchange(m_pTxn, nullptr); }

private:
    MDB_txn* m_pTxn;
};

}  // namespace

void CStore::Raise(int rc) {
    int n;
    switch (rc) {
    case MDB_MAP_FULL: n = 28; break;
    case MDB_NOTFOUND: n = MORKA_ENOTFOUND; break;
    case MDB_KEYEXIST: n = MORKA_EDUPLICATE; break;
    case MDB_INVALID:
    case MDB_VERSION_MISMATCH:
    case MDB_INCOMPATIBLE: n = MORKA_EBADORG; break;
    case MDB_CORRUPTED:
    case MDB_PAGE_NOTFOUND:
    case MDB_PANIC: n = MORKA_ECORRRECORD; break;
    case MDB_BAD_VALSIZE: n = MORKA_EKEY; break;
    default: n = rc > 0 ? rc : MORKA_ERESOURCE; break;
    }
    throw n;
}

std::string t_StoreLockName(char const* pszPath) { return std::string(pszPath) + "-lock"; }

std::string t_RecnoKey(uint32_t n) {
    char ab[4] = {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
    return std::string(ab, 4);
}

uint32_t t_KeyRecno(std::string_view sKey) {
    uint32_t n = 0;
    for (std::size_t i = 0; i < 4 && i < sKey.size(); ++i) n = n << 8 | static_cast<unsigned char>(sKey[i]);
    return n;
}

bool t_IsStoreFile(char const* pszPath) {
    int fd = ::open(pszPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char ab[20];
    bool bStore = ::pread(fd, ab, sizeof ab, 0) == static_cast<ssize_t>(sizeof ab) && s_GetLe32(ab + 16) == 0xBEEFC0DE;
    ::close(fd);
    return bStore;
}

int t_StoreCreate(char const* pszPath, int eOrg, int nRecordSize, int nKeyLen) {
    if (eOrg != ORG_KEYED && eOrg != ORG_DIRECT) return MORKA_EBADORG;
    if (eOrg == ORG_DIRECT) nKeyLen = 0;
    else if (nKeyLen < 1 || nKeyLen > MAX_KEY_LEN) return MORKA_EKEY;
    if (nRecordSize < 1 || nRecordSize > MAX_RECORD_SIZE) return MORKA_EBUFFER;
    // Claim the name first: an existing file is never touched.
    int fd = ::open(pszPath, O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    ::close(fd);
    MDB_env* pEnv = nullptr;
    int rc = s_OpenEnv(pszPath, 0, &pEnv);
    if (rc == 0) {
        MDB_txn* pTxn = nullptr;
        rc = mdb_txn_begin(pEnv, nullptr, 0, &pTxn);
        MDB_dbi dbiMeta = 0, dbiRecords = 0;
        if (rc == 0) rc = mdb_dbi_open(pTxn, "meta", MDB_CREATE, &dbiMeta);
        if (rc == 0) rc = mdb_dbi_open(pTxn, "records", MDB_CREATE, &dbiRecords);
        if (rc == 0) {
            unsigned char ab[24];
            std::memcpy(ab, HEADER_MAGIC, 8);
            s_PutLe32(ab + 8, HEADER_VERSION);
            s_PutLe32(ab + 12, static_cast<uint32_t>(eOrg));
            s_PutLe32(ab + 16, static_cast<uint32_t>(nRecordSize));
            s_PutLe32(ab + 20, static_cast<uint32_t>(nKeyLen));
            MDB_val key{6, const_cast<char*>("header")}, val{sizeof ab, ab};
            rc = mdb_put(pTxn, dbiMeta, &key, &val, 0);
        }
        if (rc == 0) rc = mdb_txn_commit(pTxn);
        else if (pTxn) mdb_txn_abort(pTxn);
        mdb_env_close(pEnv);
    }
    if (rc) {
        ::unlink(pszPath);
        ::unlink(t_StoreLockName(pszPath).c_str());
        try {
            CStore::Raise(rc);
        } catch (int n) {
            return n;
        }
    }
    return 0;
}

void t_StoreClear(char const* pszPath) {
    std::shared_ptr<CStore> pStore = CStore::Open(pszPath);
    pStore->Apply([&](MDB_txn* pTxn) { return mdb_drop(pTxn, pStore->Records(), 0); });
    pStore->Sync();
}

void t_StoreCopy(char const* pszFrom, char const* pszTo, bool bReplace, bool bKeep) {
    struct stat stTo;
    bool bTargetExists = ::lstat(pszTo, &stTo) == 0;
    if (bTargetExists && !bReplace) throw 17;
    if (bTargetExists && t_IsStoreFile(pszTo)) {
        // Replacing a store that a program has open would leave that program
        // on the old file: refuse while anyone holds it.
        int fd = ::open(pszTo, O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            struct flock fl = {};
            fl.l_type = F_WRLCK;
            fl.l_whence = SEEK_SET;
            fl.l_start = 0;
            fl.l_len = 0;
            bool bInUse = ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
            ::close(fd);
            if (bInUse) throw static_cast<int>(MORKA_ELOCKED);
        }
    }
    std::shared_ptr<CStore> pStore = CStore::Open(pszFrom);
    std::string sTemp = std::string(pszTo) + ".cpXXXXXX";
    int fd = ::mkostemp(sTemp.data(), O_CLOEXEC);
    if (fd < 0) throw errno;
    ::close(fd);
    ::unlink(sTemp.c_str());  // LMDB makes the copy as a new file
    int rc = mdb_env_copy(pStore->Env(), sTemp.c_str());
    if (rc) {
        ::unlink(sTemp.c_str());
        CStore::Raise(rc);
    }
    struct stat stFrom;
    if (::stat(pszFrom, &stFrom) == 0) {
        mode_t uMask = ::umask(0);
        ::umask(uMask);
        ::chmod(sTemp.c_str(), bKeep ? (stFrom.st_mode & 07777) : (0666 & ~uMask));
        if (bKeep) {
            struct timespec at[2] = {stFrom.st_atim, stFrom.st_mtim};
            ::utimensat(AT_FDCWD, sTemp.c_str(), at, 0);
        }
    }
    int iErr = 0;
    if (bReplace) {
        if (::rename(sTemp.c_str(), pszTo) != 0) iErr = errno;
    } else if (::link(sTemp.c_str(), pszTo) != 0) {
        iErr = errno;
    }
    ::unlink(sTemp.c_str());
    if (iErr) throw iErr;
    ::unlink(t_StoreLockName(pszTo).c_str());
}

int t_StoreInfo(char const* pszPath, CStoreHeader& header, unsigned long long& nRecords) {
    try {
        std::shared_ptr<CStore> pStore = CStore::Open(pszPath);
        header = pStore->Header();
        nRecords = pStore->Count();
        return 0;
    } catch (int n) {
        return n;
    }
}

std::shared_ptr<CStore> CStore::Open(char const* pszPath) {
    if (!s_bAtFork) {
        pthread_atfork(nullptr, nullptr, s_ForkChild);
        s_bAtFork = true;
    }
    struct stat st;
    if (::stat(pszPath, &st) != 0) throw errno;
    if (!S_ISREG(st.st_mode)) throw static_cast<int>(MORKA_EBADORG);
    auto key = std::make_pair(st.st_dev, st.st_ino);
    auto it = s_mapOpen.find(key);
    if (it != s_mapOpen.end()) {
        if (std::shared_ptr<CStore> p = it->second.lock()) return p;
    }
    if (!t_IsStoreFile(pszPath)) throw static_cast<int>(MORKA_EBADORG);
    std::shared_ptr<CStore> p(new CStore);
    p->OpenEnv(pszPath);
    s_mapOpen[key] = p;
    return p;
}

void CStore::OpenEnv(char const* pszPath) {
    m_sPath = pszPath;
    m_uGeneration = s_uGeneration;
    unsigned uFlags = s_SyncFlags(m_bSyncEach);
    int rc = s_OpenEnv(pszPath, uFlags, &m_pEnv);
    if (rc == EACCES) rc = s_OpenEnv(pszPath, uFlags | MDB_RDONLY, &m_pEnv);
    if (rc) Raise(rc);
    m_tLastSync = s_Now();
    MDB_txn* pTxn = nullptr;
    rc = mdb_txn_begin(m_pEnv, nullptr, MDB_RDONLY, &pTxn);
    if (rc) Raise(rc);
    CTxnGuard guard(pTxn);
    rc = mdb_dbi_open(pTxn, "meta", 0, &m_dbiMeta);
    if (rc == MDB_NOTFOUND) throw static_cast<int>(MORKA_EBADORG);
    if (rc) Raise(rc);
    rc = mdb_dbi_open(pTxn, "records", 0, &m_dbiRecords);
    if (rc == MDB_NOTFOUND) throw static_cast<int>(MORKA_EBADORG);
    if (rc) Raise(rc);
    MDB_val key{6, const_cast<char*>("header")}, val;
    rc = mdb_get(pTxn, m_dbiMeta, &key, &val);
    if (rc == MDB_NOTFOUND || (rc == 0 && val.mv_size < 24)) throw static_cast<int>(MORKA_EBADORG);
    if (rc) Raise(rc);
    unsigned char const* ab = static_cast<unsigned char const*>(val.mv_data);
    if (std::memcmp(ab, HEADER_MAGIC, 8) != 0 || s_GetLe32(ab + 8) != HEADER_VERSION) throw static_cast<int>(MORKA_EBADORG);
    m_header.eOrg = static_cast<int>(s_GetLe32(ab + 12));
    m_header.nRecordSize = static_cast<int>(s_GetLe32(ab + 16));
    m_header.nKeyLen = static_cast<int>(s_GetLe32(ab + 20));
    // Handles opened in a read transaction that ends by commit stay valid.
    rc = mdb_txn_commit(guard.Release());
    if (rc) Raise(rc);
}

CStore::~CStore() {
    // A child after fork() must leave the parent's environment alone.
    if (m_uGeneration != s_uGeneration || !m_pEnv) return;
    if (m_nUnsynced) mdb_env_sync(m_pEnv, 1);
    if (m_pCursor) mdb_cursor_close(m_pCursor);
    if (m_pRead) mdb_txn_abort(m_pRead);
    mdb_env_close(m_pEnv);
}

unsigned CStore::Generation() { return s_uGeneration; }

MDB_dbi CStore::Dbi(char const* pszName, bool bCreate) {
    MDB_txn* pTxn = nullptr;
    int rc = mdb_txn_begin(m_pEnv, nullptr, bCreate ? 0 : MDB_RDONLY, &pTxn);
    if (rc) Raise(rc);
    CTxnGuard guard(pTxn);
    MDB_dbi dbi = 0;
    rc = mdb_dbi_open(pTxn, pszName, bCreate ? MDB_CREATE : 0, &dbi);
    if (rc) Raise(rc);
    rc = mdb_txn_commit(guard.Release());
    if (rc) Raise(rc);
    return dbi;
}

MDB_txn* CStore::BeginRead() {
    for (int iTry = 0;; ++iTry) {
        int rc;
        if (m_pRead) {
            rc = mdb_txn_renew(m_pRead);
        } else {
            rc = mdb_txn_begin(m_pEnv, nullptr, MDB_RDONLY, &m_pRead);
            if (rc) m_pRead = nullptr;
        }
        if (rc == 0) break;
        if (rc != MDB_MAP_RESIZED || iTry > 0) Raise(rc);
        // Another program grew the file: take its map size.
        mdb_env_set_mapsize(m_pEnv, 0);
    }
    m_bCursorFresh = false;
    return m_pRead;
}

MDB_cursor* CStore::ReadCursor() {
    if (!m_bCursorFresh) {
        int rc = m_pCursor ? mdb_cursor_renew(m_pRead, m_pCursor) : mdb_cursor_open(m_pRead, m_dbiRecords, &m_pCursor);
        if (rc) Raise(rc);
        m_bCursorFresh = true;
    }
    return m_pCursor;
}

void CStore::EndRead() {
    if (m_pRead) mdb_txn_reset(m_pRead);
    m_bCursorFresh = false;
}

MDB_txn* CStore::BeginWrite() {
    MDB_txn* pTxn = nullptr;
    int rc = mdb_txn_begin(m_pEnv, nullptr, 0, &pTxn);
    if (rc == MDB_MAP_RESIZED) {
        mdb_env_set_mapsize(m_pEnv, 0);
        rc = mdb_txn_begin(m_pEnv, nullptr, 0, &pTxn);
    }
    if (rc) Raise(rc);
    return pTxn;
}

void CStore::ApplyWork(int (*pfnWork)(MDB_txn*, void*), void* pWork) {
    for (;;) {
        MDB_txn* pTxn = BeginWrite();
        int rc = pfnWork(pTxn, pWork);
        if (rc) {
            mdb_txn_abort(pTxn);
        } else {
            rc = mdb_txn_commit(pTxn);
        }
        if (rc == MDB_MAP_FULL) {
            Grow();
            continue;
        }
        if (rc) Raise(rc);
        break;
    }
    if (m_bSyncEach) return;
    ++m_nUnsynced;
    long long t = s_Now();
    if (t - m_tLastSync >= SYNC_SECONDS) Sync();
}

// Half as much map again; between transactions, as LMDB requires. Other
// programs adopt the new size at their next transaction (MDB_MAP_RESIZED).
void CStore::Grow() {
    MDB_envinfo info;
    mdb_env_info(m_pEnv, &info);
    std::size_t nNew = s_RoundMap(info.me_mapsize + info.me_mapsize / 2);
    if (nNew > MAP_MAX) Raise(MDB_MAP_FULL);
    unsigned uFlags = 0;
    mdb_env_get_flags(m_pEnv, &uFlags);
    if (uFlags & MDB_WRITEMAP) {
        int fd = -1;
        mdb_env_get_fd(m_pEnv, &fd);
        if (int rc = s_Reserve(fd, nNew)) Raise(rc);
    }
    EndRead();
    if (int rc = mdb_env_set_mapsize(m_pEnv, nNew)) Raise(rc);
}

void CStore::Sync() {
    if (m_bSyncEach || !m_nUnsynced) return;
    int rc = mdb_env_sync(m_pEnv, 1);
    m_tLastSync = s_Now();
    if (rc) Raise(rc);
    m_nUnsynced = 0;
}

std::size_t CStore::LastCommit() {
    MDB_envinfo info;
    mdb_env_info(m_pEnv, &info);
    return info.me_last_txnid;
}

unsigned long long CStore::Count() {
    MDB_txn* pTxn = BeginRead();
    MDB_stat st;
    int rc = mdb_stat(pTxn, m_dbiRecords, &st);
    EndRead();
    if (rc) Raise(rc);
    return st.ms_entries;
}

}  // namespace morka
