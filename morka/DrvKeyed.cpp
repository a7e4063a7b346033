// DrvKeyed: the drivers of string-keyed files (0x02, 0x04, 0x800) and
// record-number files (0x08, 0x1000, and 0x200 for the raw statements) over
// the storage engine (morka/Store.h). Choices made here:
// - OPEN needs an existing file made by CREATE (2 when missing, 1011 when
//   the file is of the other kind or no keyed file); it takes a shared file
//   lock (unless the open asks for none), so that no program can open the
//   file exclusively (as a sequential file for output) while it is in use;
//   records are shared between programs through the record locks;
// - the record buffer is the file's record size; a record written stores the
//   iWritePos bytes at the start of the buffer;
// - CREATE without sizes makes 256-byte records and 32-byte keys;
// - a positional read at the end raises 1063 and sets bEndOfFile (EOF then
//   answers -1); a successful one clears it;
// - a channel handed to a linked program keeps its position; the record it
//   held is let go (its lock description does not survive exec).
#include <morka/Driver.h>
#include <morka/FileLock.h>
#include <morka/Store.h>
#include <morka/System.h>

#include <lmdb.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace morka {

namespace {

constexpr int DEFAULT_RECORD_SIZE = 256;
constexpr int DEFAULT_KEY_LEN = 32;

struct CKeyedState {
    CStoreChannel ch;
    std::string sKey;
    std::string sRecord;
    std::string sNumberKey;  // the stored form of the record number set
};

class CKeyedDriver final : public CDriver {
public:
    explicit CKeyedDriver(int eFileOrg) : m_eFileOrg(eFileOrg) {}

    bool Open(QXFILE* pFile) override;
    void Close(QXFILE* pFile) override;
    bool ReadKey(QXFILE* pFile) override;
    bool ReadNext(QXFILE* pFile) override { return Step(pFile, &CStoreChannel::ReadNext); }
    bool ReadPrev(QXFILE* pFile) override { return Step(pFile, &CStoreChannel::ReadPrev); }
    bool ReadTop(QXFILE* pFile) override { return Step(pFile, &CStoreChannel::ReadFirst); }
    bool ReadEnd(QXFILE* pFile) override { return Step(pFile, &CStoreChannel::ReadLast); }
    bool WriteRecord(QXFILE* pFile) override;
    bool DeleteRecord(QXFILE* pFile) override;
    void Unlock(QXFILE* pFile) override;
    void GrowBuffer(QXFILE* pFile, int nBytes) override { t_SetRecordSize(pFile, pFile->nBufferSize + nBytes); }
    void Attach(QXFILE* pFile, int iDriver) override;
    CBString SaveState(QXFILE* pFile) override;
    void RestoreState(QXFILE* pFile, CBString const& sState) override;
    bool Probe(CBString const& sPath) override;
    void Create(CBString const& sPath, CCreateArgs const& args) override;
    void Remove(CBString const& sPath) override;
    void Rename(CBString const& sFrom, CBString const& sTo) override;
    void Clear(CBString const& sPath) override;
    void Copy(CBString const& sFrom, CBString const& sTo, bool bReplace, bool bKeep) override;

private:
    using t_StepFn = bool (CStoreChannel::*)(std::string&, std::string&);
    static CKeyedState* State(QXFILE* pFile);
    // The key set in the channel as stored: a view of the key buffer, or of
    // the state's record-number key.
    std::string_view Key(QXFILE* pFile, CKeyedState* pState) const;
    void Load(QXFILE* pFile, std::string const& sRecord);
    bool Step(QXFILE* pFile, t_StepFn fn);
    // Runs op; an error raised is stored in the channel first.
    template <class TOp>
    bool Guard(QXFILE* pFile, TOp&& op) {
        try {
            return op();
        } catch (int n) {
            Raise(pFile, n);
        }
    }

    int m_eFileOrg;  // ORG_KEYED or ORG_DIRECT: the kind of file it serves
};

CKeyedState* CKeyedDriver::State(QXFILE* pFile) {
    auto* p = static_cast<CKeyedState*>(pFile->pDriverState);
    if (!p) Raise(pFile, MORKA_ENOTOPEN);
    return p;
}

bool CKeyedDriver::Open(QXFILE* pFile) {
    char const* pszPath = pFile->sPath.c_str();
    CStoreHeader header;
    unsigned long long nRecords = 0;
    int n = t_StoreInfo(pszPath, header, nRecords);
    if (n) Raise(pFile, n);
    if (header.eOrg != m_eFileOrg) Raise(pFile, MORKA_EBADORG);
    if (!(pFile->uFlags & UF_NOLOCK)) {
        int fd = ::open(pszPath, O_RDONLY | O_CLOEXEC);
        if (fd < 0) Raise(pFile, errno);
        int iSlot;
        try {
            iSlot = t_LockFile(fd, false);
        } catch (int e) {
            ::close(fd);
            Raise(pFile, e);
        }
        ::close(fd);
        if (iSlot < 0) return false;
        pFile->iLockSlot = iSlot;
    }
    auto* pState = new CKeyedState;
    try {
        pState->ch.Open(pszPath, (pFile->eAccess & ACC_OUTPUT) != 0);
        t_SetRecordSize(pFile, header.nRecordSize);
        if (m_eFileOrg == ORG_KEYED) t_SetKeyLen(pFile, header.nKeyLen);
    } catch (int e) {
        delete pState;
        if (pFile->iLockSlot >= 0) t_UnlockFile(pFile->iLockSlot);
        pFile->iLockSlot = -1;
        Raise(pFile, e);
    }
    pFile->pDriverState = pState;
    return true;
}

void CKeyedDriver::Close(QXFILE* pFile) {
    delete static_cast<CKeyedState*>(pFile->pDriverState);
    pFile->pDriverState = nullptr;
    if (pFile->iLockSlot >= 0) t_UnlockFile(pFile->iLockSlot);
    pFile->iLockSlot = -1;
}

std::string_view CKeyedDriver::Key(QXFILE* pFile, CKeyedState* pState) const {
    if (m_eFileOrg == ORG_DIRECT) {
        pState->sNumberKey = t_RecnoKey(static_cast<uint32_t>(pFile->iRecord));
        return pState->sNumberKey;
    }
    if (!pFile->pKey) return {};
    return std::string_view(pFile->pKey, strnlen(pFile->pKey, static_cast<std::size_t>(pFile->nKeyLen)));
}

// The record just read becomes the content of the record buffer.
void CKeyedDriver::Load(QXFILE* pFile, std::string const& sRecord) {
    int nLen = static_cast<int>(sRecord.size());
    if (nLen > pFile->nBufferSize) t_SetRecordSize(pFile, nLen);
    std::memcpy(pFile->pRecord, sRecord.data(), sRecord.size());
    std::memset(pFile->pRecord + nLen, 0, static_cast<std::size_t>(pFile->nBufferSize - nLen));
    pFile->nRecordLen = nLen;
    pFile->iReadPos = 0;
    pFile->bEndOfRecord = 0;
    pFile->nFields = 0;
}

bool CKeyedDriver::ReadKey(QXFILE* pFile) {
    CKeyedState* pState = State(pFile);
    return Guard(pFile, [&] {
        if (!pState->ch.ReadKey(Key(pFile, pState), pState->sRecord)) return false;
        Load(pFile, pState->sRecord);
        return true;
    });
}

bool CKeyedDriver::Step(QXFILE* pFile, t_StepFn fn) {
    CKeyedState* pState = State(pFile);
    return Guard(pFile, [&] {
        bool bDone;
        try {
            bDone = (pState->ch.*fn)(pState->sKey, pState->sRecord);
        } catch (int n) {
            if (n == MORKA_EEOF) pFile->bEndOfFile = 1;
            throw;
        }
        if (!bDone) return false;
        pFile->bEndOfFile = 0;
        if (m_eFileOrg == ORG_DIRECT) {
            pFile->iRecord = static_cast<int>(t_KeyRecno(pState->sKey));
        } else {
            int nKey = static_cast<int>(pState->sKey.size());
            if (nKey > pFile->nKeyLen) t_SetKeyLen(pFile, nKey);
            std::memcpy(pFile->pKey, pState->sKey.data(), pState->sKey.size());
            std::memset(pFile->pKey + nKey, 0, static_cast<std::size_t>(pFile->nKeyLen - nKey) + 1);
            pFile->nKeyRead = nKey;
        }
        Load(pFile, pState->sRecord);
        return true;
    });
}

bool CKeyedDriver::WriteRecord(QXFILE* pFile) {
    CKeyedState* pState = State(pFile);
    int nLen = pFile->iWritePos < 0 ? 0 : std::min(pFile->iWritePos, pFile->nBufferSize);
    return Guard(pFile, [&] { return pState->ch.Write(Key(pFile, pState), pFile->pRecord, static_cast<std::size_t>(nLen)); });
}

bool CKeyedDriver::DeleteRecord(QXFILE* pFile) {
    CKeyedState* pState = State(pFile);
    return Guard(pFile, [&] { return pState->ch.Delete(Key(pFile, pState)); });
}

void CKeyedDriver::Unlock(QXFILE* pFile) {
    auto* pState = static_cast<CKeyedState*>(pFile->pDriverState);
    if (!pState) return;
    Guard(pFile, [&] {
        pState->ch.Unlock();
        return true;
    });
}

void CKeyedDriver::Attach(QXFILE* pFile, int iDriver) {
    int iLockSlot = pFile->iLockSlot;
    CDriver::Attach(pFile, iDriver);
    pFile->iLockSlot = iLockSlot;
}

// State bytes: "<lock descriptor> <position>" where the position is "S"
// (start), "E" (end) or "A" and the stored key in hexadecimal. The file
// lock's descriptor is kept open across exec for the linked program.
CBString CKeyedDriver::SaveState(QXFILE* pFile) {
    int fdLock = t_LockFd(pFile->iLockSlot);
    if (fdLock >= 0) (void)fcntl(fdLock, F_SETFD, 0);
    CBString s;
    s.format("%d %s", fdLock, State(pFile)->ch.Position().c_str());
    return s;
}

void CKeyedDriver::RestoreState(QXFILE* pFile, CBString const& sState) {
    int fdLock = -1;
    char szPos[2048] = "";
    std::sscanf(sState.c_str(), "%d %2047s", &fdLock, szPos);
    if (fdLock >= 0) pFile->iLockSlot = t_AdoptLock(fdLock, false);
    auto* pState = new CKeyedState;
    try {
        pState->ch.Open(pFile->sPath.c_str(), (pFile->eAccess & ACC_OUTPUT) != 0);
        pState->ch.SetPosition(szPos);
        t_SetRecordSize(pFile, pState->ch.Header().nRecordSize);
        if (m_eFileOrg == ORG_KEYED) t_SetKeyLen(pFile, pState->ch.Header().nKeyLen);
    } catch (int n) {
        delete pState;
        Raise(pFile, n);
    }
    pFile->pDriverState = pState;
}

bool CKeyedDriver::Probe(CBString const& sPath) {
    if (!t_IsStoreFile(sPath.c_str())) return false;
    CStoreHeader header;
    unsigned long long nRecords;
    return t_StoreInfo(sPath.c_str(), header, nRecords) == 0 && header.eOrg == m_eFileOrg;
}

void CKeyedDriver::Create(CBString const& sPath, CCreateArgs const& args) {
    int nSize = args.nRecordSize > 0 ? args.nRecordSize : DEFAULT_RECORD_SIZE;
    int nKey = args.nKeyLen > 0 ? args.nKeyLen : DEFAULT_KEY_LEN;
    int n = t_StoreCreate(sPath.c_str(), m_eFileOrg, nSize, nKey);
    if (n) throw n;
}

void CKeyedDriver::Remove(CBString const& sPath) {
    CDriver::Remove(sPath);
    ::unlink(t_StoreLockName(sPath.c_str()).c_str());
}

void CKeyedDriver::Rename(CBString const& sFrom, CBString const& sTo) {
    std::string sToLock = t_StoreLockName(sTo.c_str());
    if (::access(sToLock.c_str(), F_OK) == 0 && ::access(sTo.c_str(), F_OK) != 0) ::unlink(sToLock.c_str());
    CDriver::Rename(sFrom, sTo);
    ::rename(t_StoreLockName(sFrom.c_str()).c_str(), sToLock.c_str());
}

void CKeyedDriver::Clear(CBString const& sPath) { t_StoreClear(sPath.c_str()); }

void CKeyedDriver::Copy(CBString const& sFrom, CBString const& sTo, bool bReplace, bool bKeep) {
    t_StoreCopy(sFrom.c_str(), sTo.c_str(), bReplace, bKeep);
}

CKeyedDriver s_Keyed(ORG_KEYED);
CKeyedDriver s_Direct(ORG_DIRECT);
CKeyedDriver s_Raw(ORG_DIRECT);

}  // namespace

CDriver& t_KeyedDriver() { return s_Keyed; }
CDriver& t_DirectDriver() { return s_Direct; }
CDriver& t_RawDriver() { return s_Raw; }

}  // namespace morka
