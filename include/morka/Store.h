// Store: the storage engine of keyed and record-number files, on LMDB.
//
// Files. One BASIC file is one LMDB environment in one file (MDB_NOSUBDIR;
// LMDB keeps its reader table beside it in "<name>-lock"). Named databases
// inside it: "meta" holds the header (organisation, record size, maximum key
// length), "records" the records. Keys sort in byte order: a string key is
// stored as its bytes and one NUL byte (no key byte is NUL, so the order is
// that of the NUL-padded key, and the empty key is a valid key); a record
// number as 4 bytes big-endian, so NEXT and PREV follow numeric order. A
// record is stored with exactly the bytes written. Further index databases
// over the same records (ISAM) live in the same environment and commit in the
// same transactions.
//
// Durability. Every write or delete is one LMDB transaction, committed before
// the call returns, so a program killed at any instant (kill -9) leaves the
// file whole with every write that returned. Environment value b_syncwrite:
//   0 (default) the file is mapped writable and a commit is a write to that
//     memory, which the operating system keeps whatever becomes of the
//     program; commits are not forced to disk one by one but at CLOSE and at
//     the first commit 5 seconds or more after the last forcing. A machine
//     crash (power loss, kernel panic) can lose the commits made since then
//     and, as the disk may then hold the pages of a commit only in part, can
//     leave the file damaged (restore it from a backup).
//   1 every commit is written and forced to disk before the call returns
//     (about 100 times slower): a machine crash loses nothing that returned.
//
// Size. The map of a file starts at its size and grows by half as much again
// (in steps of 8 MiB) when a write finds it full; the file grows with it and
// its disk blocks are reserved at once, so a full disk is error 28 at that
// write and never a fault inside the map. A file is thus up to half again
// larger than its records need; it never shrinks (LMDB reuses freed pages).
//
// Record locks. A record is locked by its id: the record number of a
// record-number file, a 63-bit FNV-1a hash of the key of a string-keyed file.
// The locks of a file live in a lock table in shared memory (one per data
// file, see morka/StoreLock.cpp), so taking, testing and releasing one costs
// no system call; each channel owns a slot of the table through an
// open-file-description lock, so the locks of a program that dies are known
// to be stale at once and are taken over. Two string keys with the same hash
// share a lock: a reader may wait for the other record, never read or write
// past a lock (the chance for two given keys is 2^-63). Locks belong to the
// channel, so two channels of one program on the same file lock each other
// out as well.
//
// Store files belong on a local file system: LMDB's reader table and the
// record lock table are shared memory of one machine, so programs on two
// machines sharing a file over the network would not see each other.
//
// Within a process the environment of a file is shared by all its channels
// (LMDB must not open one file twice in a process); after fork() a child
// opens its own environment and lock description at its first use.
#pragma once

#include <cstdint>
#include <type_traits>
#include <memory>
#include <string>
#include <string_view>

typedef struct MDB_env MDB_env;
typedef struct MDB_txn MDB_txn;
typedef struct MDB_cursor MDB_cursor;
typedef struct MDB_val MDB_val;
typedef unsigned int MDB_dbi;

namespace morka {

// Header of a store file.
struct CStoreHeader {
    int eOrg = 0;           // ORG_KEYED (string keys) or ORG_DIRECT (record numbers)
    int nRecordSize = 0;    // record buffer size of the file's channels
    int nKeyLen = 0;        // maximum string key length (0 for record numbers)
};

// Creates a new store file: eOrg ORG_KEYED with a maximum key length of 1 to
// 510 bytes, or ORG_DIRECT (key length ignored); record size 1 to 16 MiB.
// Returns 0, 17 when the name exists (nothing is changed then), 1029 for a
// bad key length, 1028 for a bad record size, or the system error number.
int t_StoreCreate(char const* pszPath, int eOrg, int nRecordSize, int nKeyLen);
// Reads the header and the record count of a store file. Returns 0, 1011
// when the file is not a store, or the system error number.
int t_StoreInfo(char const* pszPath, CStoreHeader& header, unsigned long long& nRecords);
// True when the file begins like an LMDB data file (no environment opened).
bool t_IsStoreFile(char const* pszPath);
// The name of the reader table LMDB keeps beside a store file.
std::string t_StoreLockName(char const* pszPath);
// Removes every record of a store file (TRUNCATE), in one transaction.
// Raises as CStore::Open.
void t_StoreClear(char const* pszPath);
// Copies a store file as one consistent snapshot (other programs may write
// meanwhile) to a new file beside the target, renamed into place. Raises 17
// when the target exists and bReplace is false, 1023 when the target is a
// store some program has open; bKeep copies the permission bits and times.
void t_StoreCopy(char const* pszFrom, char const* pszTo, bool bReplace, bool bKeep);

// 4-byte big-endian key of a record number, and back.
std::string t_RecnoKey(uint32_t n);
uint32_t t_KeyRecno(std::string_view sKey);

// One open store file, shared by the channels of this process. The storage
// layer of keyed, record-number and ISAM files: the environment, named
// databases, read snapshots and committed writes.
class CStore {
public:
    ~CStore();
    CStore(CStore const&) = delete;
    CStore& operator=(CStore const&) = delete;

    // The store of the file at pszPath, opened (or shared when this process
    // has it open already). Raises the system error number, 1011 when the
    // file is not a store.
    static std::shared_ptr<CStore> Open(char const* pszPath);

    CStoreHeader const& Header() const { return m_header; }
    MDB_env* Env() const { return m_pEnv; }
    std::string const& Path() const { return m_sPath; }
    // The named database (created inside a write transaction when bCreate).
    MDB_dbi Dbi(char const* pszName, bool bCreate = false);
    MDB_dbi Records() const { return m_dbiRecords; }

    // The read snapshot: renewed by BeginRead, released by EndRead. One at a
    // time (the system is single-threaded); values read stay valid until EndRead.
    MDB_txn* BeginRead();
    void EndRead();
    // A cursor on the records, inside the current read snapshot.
    MDB_cursor* ReadCursor();
    // One write transaction: fnWork makes the changes and returns 0 or an
    // LMDB result (the transaction is then abandoned and the result raised).
    // A full map grows and the work runs again; the commit applies the
    // durability setting.
    template <class TWork>
    void Apply(TWork&& fnWork) {
        ApplyWork([](MDB_txn* pTxn, void* pWork) { return (*static_cast<std::remove_reference_t<TWork>*>(pWork))(pTxn); },
                  &fnWork);
    }
    // Forces committed writes to disk.
    void Sync();
    // Number of the last transaction committed by any process.
    std::size_t LastCommit();
    unsigned long long Count();

    // Turns an LMDB or system result into an error number and raises it.
    [[noreturn]] static void Raise(int rc);
    // Counts fork() children: handles from another generation belong to the
    // parent and must be opened again.
    static unsigned Generation();

private:
    CStore() = default;
    void OpenEnv(char const* pszPath);
    MDB_txn* BeginWrite();
    void Grow();
    // Apply without a closure object: the work and its context.
    void ApplyWork(int (*pfnWork)(MDB_txn*, void*), void* pWork);

    std::string m_sPath;
    MDB_env* m_pEnv = nullptr;
    MDB_txn* m_pRead = nullptr;
    MDB_cursor* m_pCursor = nullptr;
    bool m_bCursorFresh = false;
    unsigned m_uGeneration = 0;
    MDB_dbi m_dbiRecords = 0;
    MDB_dbi m_dbiMeta = 0;
    CStoreHeader m_header;
    bool m_bSyncEach = false;
    long long m_tLastSync = 0;
    unsigned long long m_nUnsynced = 0;
};

// Record locks of one channel: its slot in the lock table of the data file.
class CRecordLock {
public:
    CRecordLock();
    ~CRecordLock();
    CRecordLock(CRecordLock const&) = delete;
    CRecordLock& operator=(CRecordLock const&) = delete;

    // Opens the lock table of the data file and claims a slot in it (1014
    // when the table has no free slot).
    void Open(char const* pszPath);
    // Lets go of every lock and the slot; in a child after fork() only of the
    // handles (the parent's locks stay the parent's).
    void Close();
    // Lock id of a stored key of a file of organisation eOrg.
    static long long Id(int eOrg, std::string_view sKey);
    // Lets go of iRelease (when this channel holds it; -1 for none), then
    // takes the lock of iId for this channel; false when another channel (of
    // any process) holds it. Raises 1014 when the table is full.
    bool Take(long long iId, long long iRelease = -1);
    // True when another channel holds iId.
    bool HeldElsewhere(long long iId);
    void Release(long long iId);

    struct CTable;

private:
    std::unique_ptr<CTable> m_pTable;
};

// A channel's view of a store: the position in key order, the record it holds
// locked, its lock description. Keys are the logical keys: the key bytes of a
// string-keyed file, t_RecnoKey(n) of a record-number file. Operations return
// false when another channel holds the record (nothing is changed then) and
// raise 1025 for a missing key, 1063 at the end of the file, or an error of
// the storage layer. Every operation first lets go of the record held by the
// previous one, unless it is the same record.
class CStoreChannel {
public:
    CStoreChannel() = default;
    ~CStoreChannel();
    CStoreChannel(CStoreChannel const&) = delete;
    CStoreChannel& operator=(CStoreChannel const&) = delete;

    // Opens the file; bWrite: the channel may write, and the records it
    // reads are held for it. Raises as CStore::Open.
    void Open(char const* pszPath, bool bWrite);
    void Close();
    bool IsOpen() const { return m_pStore != nullptr; }
    CStoreHeader const& Header() const;
    CStore& Store() const { return *m_pStore; }

    // The record with this key. The position moves to the key even when it
    // is missing, so NEXT then gives the first record after it.
    bool ReadKey(std::string_view sKey, std::string& sRecord);
    // The record after (before) the position; the first (last) one. The key
    // found is returned in sKey and becomes the position. At the end 1063 is
    // raised and the position moves past the end (before the start), so that
    // PREV (NEXT) then gives the last (first) record.
    bool ReadNext(std::string& sKey, std::string& sRecord);
    bool ReadPrev(std::string& sKey, std::string& sRecord);
    bool ReadFirst(std::string& sKey, std::string& sRecord);
    bool ReadLast(std::string& sKey, std::string& sRecord);
    // Stores (replaces) the record. Writes and deletes leave the position.
    bool Write(std::string_view sKey, void const* pData, std::size_t nLen);
    // Removes the record (1025 when missing).
    bool Delete(std::string_view sKey);
    // Lets go of the record held.
    void Unlock();
    unsigned long long Count();
    // The position as text ("S" start, "E" end, "A" and the stored key in
    // hexadecimal), and back: what a linked program inherits.
    std::string Position() const;
    void SetPosition(std::string const& sPos);

private:
    enum class t_Pos { Start, At, End };
    enum class t_Step { Next, Prev, First, Last };
    bool Step(t_Step eStep, std::string& sKey, std::string& sRecord);
    // Writes (pData) or deletes (null) the record of sKey under its lock.
    bool Change(std::string_view sKey, MDB_val* pData);
    bool Lock(std::string_view sKey, long long& iId);
    void Refresh();
    std::string Stored(std::string_view sKey) const;

    std::shared_ptr<CStore> m_pStore;
    CRecordLock m_lock;
    std::string m_sPath;
    bool m_bWrite = false;
    long long m_iHeld = -1;
    t_Pos m_ePos = t_Pos::Start;
    std::string m_sPos;              // stored key of the position
    std::string m_sData;             // record found by a positional read
    std::string m_sFound;            // stored key found by it (kept for its capacity)
    unsigned m_uGeneration = 0;      // fork generation the handles belong to
};

}  // namespace morka
