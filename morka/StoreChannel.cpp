// StoreChannel: the record operations of one channel on a store file: keyed
// reads, positional reads in key order, writes and deletes, with the
// channel's record lock. A channel opened for output holds the record it
// reads until its next operation; it locks before it reads, so the record it
// returns is the one it holds. A channel opened for input holds nothing: its
// read by key answers "locked" while another channel holds the record, its
// positional reads never wait. Only reads move the position (READ NEXT goes
// on from the record of the last read). The position is a stored key (or the start or
// end of the file) and each operation finds its place again in a fresh read
// snapshot, so records written or deleted by others in between are seen.
#include <morka/Store.h>
#include <morka/FileMngr.h>
#include <morka/System.h>

#include <lmdb.h>

#include <cstring>

namespace morka {

namespace {

// Ends the read snapshot on every way out.
class CReadScope {
public:
    explicit CReadScope(CStore& store) : m_store(store), m_pTxn(store.BeginRead()) {}
    ~CReadScope() { m_store.EndRead(); }
    MDB_txn* Txn() const { return m_pTxn; }

private:
    CStore& m_store;
    MDB_txn* m_pTxn;
};

MDB_val s_Val(std::string const& s) { return MDB_val{s.size(), const_cast<char*>(s.data())}; }

}  // namespace

CStoreChannel::~CStoreChannel() { Close(); }

void CStoreChannel::Open(char const* pszPath, bool bWrite) {
    Close();
    std::shared_ptr<CStore> pStore = CStore::Open(pszPath);
    m_lock.Open(pszPath);
    m_pStore = std::move(pStore);
    m_sPath = pszPath;
    m_bWrite = bWrite;
    m_iHeld = -1;
    m_ePos = t_Pos::Start;
    m_sPos.clear();
    m_uGeneration = CStore::Generation();
}

void CStoreChannel::Close() {
    if (!m_pStore) return;
    if (m_uGeneration == CStore::Generation()) {
        try {
            m_pStore->Sync();
        } catch (int) {
            // The writes are committed; only their forcing to disk failed.
        }
    }
    m_lock.Close();
    m_iHeld = -1;
    m_pStore.reset();
}

CStoreHeader const& CStoreChannel::Header() const { return m_pStore->Header(); }

void CStoreChannel::Refresh() {
    if (!m_pStore) throw static_cast<int>(MORKA_ENOTOPEN);
    if (m_uGeneration == CStore::Generation()) return;
    // A child after fork(): its own environment and lock description.
    m_pStore = CStore::Open(m_sPath.c_str());
    m_lock.Open(m_sPath.c_str());
    m_iHeld = -1;
    m_uGeneration = CStore::Generation();
}

std::string CStoreChannel::Stored(std::string_view sKey) const {
    std::string s(sKey);
    if (m_pStore->Header().eOrg != ORG_DIRECT) s += '\0';
    return s;
}

// Lets go of the record held unless it is the one of iId, then takes
// that one for a channel that writes.
bool CStoreChannel::Lock(std::string_view sKey, long long& iId) {
    iId = CRecordLock::Id(m_pStore->Header().eOrg, sKey);
    if (m_iHeld == iId) return true;
    if (!m_bWrite) {
        Unlock();
        return true;
    }
    // One visit to the lock table lets go of the old record and takes the new.
    long long iOld = m_iHeld;
    m_iHeld = -1;
    if (!m_lock.Take(iId, iOld)) return false;
    m_iHeld = iId;
    return true;
}

void CStoreChannel::Unlock() {
    if (m_iHeld < 0) return;
    long long iId = m_iHeld;
    m_iHeld = -1;
    if (m_uGeneration == CStore::Generation()) m_lock.Release(iId);
}

bool CStoreChannel::ReadKey(std::string_view sKey, std::string& sRecord) {
    Refresh();
    long long iId;
    if (!Lock(sKey, iId)) return false;
    if (!m_bWrite && m_lock.HeldElsewhere(iId)) return false;
    m_ePos = t_Pos::At;
    m_sPos = Stored(sKey);
    int rc;
    {
        CReadScope read(*m_pStore);
        MDB_val key = s_Val(m_sPos), val;
        rc = mdb_get(read.Txn(), m_pStore->Records(), &key, &val);
        if (rc == 0) sRecord.assign(static_cast<char const*>(val.mv_data), val.mv_size);
    }
    if (rc == MDB_NOTFOUND) {
        Unlock();
        throw static_cast<int>(MORKA_ENOTFOUND);
    }
    if (rc) CStore::Raise(rc);
    return true;
}

bool CStoreChannel::Step(t_Step eStep, std::string& sKey, std::string& sRecord) {
    Refresh();
    bool bKeyed = m_pStore->Header().eOrg != ORG_DIRECT;
    std::string& sFound = m_sFound;
    for (;;) {
        std::size_t uSnapshot = 0;
        int rc;
        {
            CReadScope read(*m_pStore);
            uSnapshot = mdb_txn_id(read.Txn());
            MDB_cursor* pCursor = m_pStore->ReadCursor();
            MDB_val key, val;
            MDB_cursor_op eOp = MDB_FIRST;
            bool bMissing = false;
            switch (eStep) {
            case t_Step::First: eOp = MDB_FIRST; break;
            case t_Step::Last: eOp = MDB_LAST; break;
            case t_Step::Next:
                if (m_ePos == t_Pos::End) bMissing = true;
                else if (m_ePos == t_Pos::At) {
                    key = s_Val(m_sPos);
                    rc = mdb_cursor_get(pCursor, &key, &val, MDB_SET_RANGE);
                    if (rc == 0 && key.mv_size == m_sPos.size() && std::memcmp(key.mv_data, m_sPos.data(), key.mv_size) == 0)
                        eOp = MDB_NEXT;
                    else if (rc == 0) eOp = MDB_GET_CURRENT;
                    else if (rc == MDB_NOTFOUND) bMissing = true;
                    else CStore::Raise(rc);
                }
                break;
            case t_Step::Prev:
                if (m_ePos == t_Pos::Start) bMissing = true;
                else if (m_ePos == t_Pos::End) eOp = MDB_LAST;
                else {
                    key = s_Val(m_sPos);
                    rc = mdb_cursor_get(pCursor, &key, &val, MDB_SET_RANGE);
                    if (rc == 0) eOp = MDB_PREV;
                    else if (rc == MDB_NOTFOUND) eOp = MDB_LAST;
                    else CStore::Raise(rc);
                }
                break;
            }
            rc = bMissing ? MDB_NOTFOUND : mdb_cursor_get(pCursor, &key, &val, eOp);
            if (rc == 0) {
                sFound.assign(static_cast<char const*>(key.mv_data), key.mv_size);
                m_sData.assign(static_cast<char const*>(val.mv_data), val.mv_size);
            }
        }
        if (rc == MDB_NOTFOUND) {
            Unlock();
            bool bForward = eStep == t_Step::Next || eStep == t_Step::First;
            m_ePos = bForward ? t_Pos::End : t_Pos::Start;
            throw static_cast<int>(MORKA_EEOF);
        }
        if (rc) CStore::Raise(rc);
        std::string_view sLogical(sFound);
        if (bKeyed && !sLogical.empty()) sLogical.remove_suffix(1);
        if (m_bWrite) {
            long long iId;
            if (!Lock(sLogical, iId)) return false;
            // Held now. When something was committed since the snapshot, the
            // record may have changed before the lock was taken: read it again.
            if (m_pStore->LastCommit() != uSnapshot) {
                CReadScope read(*m_pStore);
                MDB_val key = s_Val(sFound), val;
                rc = mdb_get(read.Txn(), m_pStore->Records(), &key, &val);
                if (rc == MDB_NOTFOUND) {
                    Unlock();
                    continue;  // deleted meanwhile: look again from the same position
                }
                if (rc) CStore::Raise(rc);
                m_sData.assign(static_cast<char const*>(val.mv_data), val.mv_size);
            }
        } else if (m_iHeld >= 0) {
            Unlock();
        }
        m_ePos = t_Pos::At;
        sKey.assign(sLogical);
        m_sPos.swap(sFound);
        sRecord.swap(m_sData);
        return true;
    }
}

bool CStoreChannel::ReadNext(std::string& sKey, std::string& sRecord) { return Step(t_Step::Next, sKey, sRecord); }
bool CStoreChannel::ReadPrev(std::string& sKey, std::string& sRecord) { return Step(t_Step::Prev, sKey, sRecord); }
bool CStoreChannel::ReadFirst(std::string& sKey, std::string& sRecord) { return Step(t_Step::First, sKey, sRecord); }
bool CStoreChannel::ReadLast(std::string& sKey, std::string& sRecord) { return Step(t_Step::Last, sKey, sRecord); }

bool CStoreChannel::Change(std::string_view sKey, MDB_val* pData) {
    Refresh();
    if (!m_bWrite) throw static_cast<int>(MORKA_ENOTOPEN);
    long long iId;
    if (!Lock(sKey, iId)) return false;
    std::string sStored = Stored(sKey);
    try {
        m_pStore->Apply([&](MDB_txn* pTxn) {
            MDB_val key = s_Val(sStored);
            return pData ? mdb_put(pTxn, m_pStore->Records(), &key, pData, 0) : mdb_del(pTxn, m_pStore->Records(), &key, nullptr);
        });
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
    return true;
}

bool CStoreChannel::Write(std::string_view sKey, void const* pData, std::size_t nLen) {
    MDB_val val{nLen, const_cast<void*>(pData)};
    return Change(sKey, &val);
}

bool CStoreChannel::Delete(std::string_view sKey) { return Change(sKey, nullptr); }

std::string CStoreChannel::Position() const {
    if (m_ePos != t_Pos::At) return m_ePos == t_Pos::Start ? "S" : "E";
    static char const s_szHex[] = "0123456789abcdef";
    std::string s = "A";
    for (unsigned char c : m_sPos) {
        s += s_szHex[c >> 4];
        s += s_szHex[c & 15];
    }
    return s;
}

void CStoreChannel::SetPosition(std::string const& sPos) {
    m_ePos = sPos == "E" ? t_Pos::End : t_Pos::Start;
    m_sPos.clear();
    if (sPos.empty() || sPos[0] != 'A') return;
    for (std::size_t i = 1; i + 1 < sPos.size(); i += 2)
        m_sPos += static_cast<char>(std::stoi(sPos.substr(i, 2), nullptr, 16));
    m_ePos = t_Pos::At;
}

unsigned long long CStoreChannel::Count() {
    Refresh();
    return m_pStore->Count();
}

}  // namespace morka
