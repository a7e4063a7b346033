// BenchRecords: the clock, working directory, bare-LMDB phases, COBOL runner
// and reporting of the record benchmarks (see BenchRecords.h).
// The bare-LMDB side opens its environment exactly as the store does
// (morka/Store.cpp: 64 GiB map, 512 readers, 16 databases, MDB_NOSUBDIR |
// MDB_NOTLS | MDB_NOSYNC, one transaction per write, forced to disk at the
// first commit 5 seconds after the last forcing) but takes no record locks.
#include "BenchRecords.h"

#include <lmdb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <numeric>
#include <random>
#include <unistd.h>

namespace morka {

char const* const g_apszPhaseName[PH_COUNT] = {"write",           "readkey-update", "readkey-input",
                                                "readnext-update", "readnext-input", "rewrite"};
char const* const g_apszPhaseLabel[PH_COUNT] = {
    "WRITE KEY", "READ KEY, update channel", "READ KEY, input channel", "READ NEXT, update channel",
    "READ NEXT, input channel", "rewrites: READ KEY + WRITE KEY"};

double t_CpuNow() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

CBenchDir::CBenchDir() {
    char sz[] = "/tmp/velbra-bench-XXXXXX";
    m_sPath = mkdtemp(sz);
    char szCwd[4096];
    m_sOld = getcwd(szCwd, sizeof szCwd) ? szCwd : ".";
    (void)!chdir(m_sPath.c_str());
    t_InitFiles();
}

CBenchDir::~CBenchDir() {
    t_CloseAll();
    (void)!chdir(m_sOld.c_str());
    std::system(("rm -rf " + m_sPath).c_str());
}

CRecordOrders t_MakeOrders(int nRecords, int nRewrites, unsigned uSeed) {
    std::mt19937 rng(uSeed);
    CRecordOrders orders;
    orders.nRecords = nRecords;
    for (auto* pa : {&orders.aWrite, &orders.aRead, &orders.aRewrite}) {
        pa->resize(static_cast<std::size_t>(nRecords));
        std::iota(pa->begin(), pa->end(), 0);
        std::shuffle(pa->begin(), pa->end(), rng);
    }
    orders.aRewrite.resize(static_cast<std::size_t>(nRewrites));
    return orders;
}

namespace {

constexpr std::size_t MAP_SIZE = 512ULL << 20;  // room for every phase: no growth on this side
constexpr unsigned MAX_READERS = 512;
constexpr unsigned MAX_DBS = 16;
constexpr long long SYNC_SECONDS = 5;

// A failed LMDB call ends the benchmark: a figure measured past it would lie.
void s_Check(int rc, char const* pszWhat) {
    if (rc == 0) return;
    std::fprintf(stderr, "bare LMDB: %s: %s\n", pszWhat, mdb_strerror(rc));
    std::abort();
}

long long s_Seconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return ts.tv_sec;
}

// One environment opened as the store opens one, with its read snapshot.
class CRawStore {
public:
    CRawStore() {
        s_Check(mdb_env_create(&m_pEnv), "create");
        mdb_env_set_maxdbs(m_pEnv, MAX_DBS);
        mdb_env_set_maxreaders(m_pEnv, MAX_READERS);
        mdb_env_set_mapsize(m_pEnv, MAP_SIZE);
        s_Check(mdb_env_open(m_pEnv, "raw.mdb", MDB_NOSUBDIR | MDB_NOTLS | MDB_NOSYNC | MDB_WRITEMAP, 0666), "open");
        MDB_txn* pTxn;
        s_Check(mdb_txn_begin(m_pEnv, nullptr, 0, &pTxn), "begin");
        s_Check(mdb_dbi_open(pTxn, "records", MDB_CREATE, &m_dbi), "dbi");
        s_Check(mdb_txn_commit(pTxn), "commit");
        s_Check(mdb_txn_begin(m_pEnv, nullptr, MDB_RDONLY, &m_pRead), "begin read");
        mdb_txn_reset(m_pRead);
        m_tLastSync = s_Seconds();
    }
    ~CRawStore() {
        if (m_pCursor) mdb_cursor_close(m_pCursor);
        mdb_txn_abort(m_pRead);
        mdb_env_sync(m_pEnv, 1);
        mdb_env_close(m_pEnv);
    }
    CRawStore(CRawStore const&) = delete;
    CRawStore& operator=(CRawStore const&) = delete;

    void Put(std::string const& sKey, std::string const& sRecord) {
        MDB_txn* pTxn;
        s_Check(mdb_txn_begin(m_pEnv, nullptr, 0, &pTxn), "begin");
        MDB_val key{sKey.size(), const_cast<char*>(sKey.data())};
        MDB_val val{sRecord.size(), const_cast<char*>(sRecord.data())};
        s_Check(mdb_put(pTxn, m_dbi, &key, &val, 0), "put");
        s_Check(mdb_txn_commit(pTxn), "commit");
        if (s_Seconds() - m_tLastSync >= SYNC_SECONDS) {
            mdb_env_sync(m_pEnv, 1);
            m_tLastSync = s_Seconds();
        }
    }
    void Get(std::string const& sKey, std::string& sRecord) {
        s_Check(mdb_txn_renew(m_pRead), "renew");
        MDB_val key{sKey.size(), const_cast<char*>(sKey.data())}, val;
        s_Check(mdb_get(m_pRead, m_dbi, &key, &val), "get");
        sRecord.assign(static_cast<char const*>(val.mv_data), val.mv_size);
        mdb_txn_reset(m_pRead);
    }
    // The record after the position sPos (the first one when sPos is
    // empty), found again in a fresh snapshot; it becomes the position.
    void Next(std::string& sPos, std::string& sRecord) {
        s_Check(mdb_txn_renew(m_pRead), "renew");
        if (m_pCursor) s_Check(mdb_cursor_renew(m_pRead, m_pCursor), "cursor renew");
        else s_Check(mdb_cursor_open(m_pRead, m_dbi, &m_pCursor), "cursor");
        MDB_val key{sPos.size(), sPos.data()}, val;
        MDB_cursor_op eOp = MDB_FIRST;
        if (!sPos.empty()) {
            s_Check(mdb_cursor_get(m_pCursor, &key, &val, MDB_SET_RANGE), "set range");
            bool bSame = key.mv_size == sPos.size() && std::memcmp(key.mv_data, sPos.data(), sPos.size()) == 0;
            eOp = bSame ? MDB_NEXT : MDB_GET_CURRENT;
        }
        s_Check(mdb_cursor_get(m_pCursor, &key, &val, eOp), "next");
        sPos.assign(static_cast<char const*>(key.mv_data), key.mv_size);
        sRecord.assign(static_cast<char const*>(val.mv_data), val.mv_size);
        mdb_txn_reset(m_pRead);
    }

private:
    MDB_env* m_pEnv = nullptr;
    MDB_dbi m_dbi = 0;
    MDB_txn* m_pRead = nullptr;
    MDB_cursor* m_pCursor = nullptr;
    long long m_tLastSync = 0;
};

}  // namespace

CPhaseTimes t_LmdbPhases(CRecordOrders const& orders, std::vector<std::string> const& aStored) {
    CPhaseTimes times;
    CRawStore raw;
    std::string sRecord(RECORD_SIZE, 'v'), sRewritten(RECORD_SIZE, 'w'), sRead;
    double t0 = t_CpuNow();
    for (int id : orders.aWrite) raw.Put(aStored[id], sRecord);
    times.at[PH_WRITE_KEY] = t_CpuSince(t0);
    // Bare LMDB reads the same way for either kind of channel: the two
    // phases are timed apart all the same, as the statements' are.
    for (t_RecordPhase ePhase : {PH_READ_KEY_UPDATE, PH_READ_KEY_INPUT}) {
        t0 = t_CpuNow();
        for (int id : orders.aRead) raw.Get(aStored[id], sRead);
        times.at[ePhase] = t_CpuSince(t0);
    }
    for (t_RecordPhase ePhase : {PH_READ_NEXT_UPDATE, PH_READ_NEXT_INPUT}) {
        std::string sPos;
        t0 = t_CpuNow();
        for (int i = 0; i < orders.nRecords; ++i) raw.Next(sPos, sRead);
        times.at[ePhase] = t_CpuSince(t0);
    }
    t0 = t_CpuNow();
    for (int id : orders.aRewrite) {
        raw.Get(aStored[id], sRead);
        raw.Put(aStored[id], sRewritten);
    }
    times.at[PH_REWRITE] = t_CpuSince(t0);
    return times;
}

char const* t_CobolDir() {
#ifdef VELBRA_COBOL_DIR
    return VELBRA_COBOL_DIR;
#else
    return nullptr;
#endif
}

bool t_CobolPhases(char const* pszProgram, CRecordOrders const& orders, std::vector<std::string> const& aText,
                   CPhaseTimes& times, std::string& sWhy) {
    {
        std::ofstream keys("keys.dat", std::ios::binary);
        char szHeader[17];
        std::snprintf(szHeader, sizeof szHeader, "%08d%08d", orders.nRecords, static_cast<int>(orders.aRewrite.size()));
        keys << szHeader;
        for (auto const* pa : {&orders.aWrite, &orders.aRead, &orders.aRewrite})
            for (int id : *pa) keys << aText[id];
        if (!keys) {
            sWhy = "cannot write keys.dat";
            return false;
        }
    }
    char szCwd[4096];
    if (!getcwd(szCwd, sizeof szCwd)) {
        sWhy = "no working directory";
        return false;
    }
    // The program's files go to the working directory (COB_FILE_PATH).
    // DB_HOME stays unset: with it the INDEXED handler (Berkeley DB) joins a
    // DB environment to lock records, and GnuCOBOL 3.1.2 then crashes at the
    // first READ; COB_SYNC stays unset (no forced sync, as on our side).
    std::string sCommand = std::string("env -u DB_HOME -u COB_SYNC COB_FILE_PATH='") + szCwd + "' '" + pszProgram +
                           "' 2>cobol.err";
    FILE* fp = popen(sCommand.c_str(), "r");
    if (!fp) {
        sWhy = "cannot run " + std::string(pszProgram);
        return false;
    }
    bool abSeen[PH_COUNT] = {};
    char szName[64];
    long long nNanos;
    while (std::fscanf(fp, "%63s %lld", szName, &nNanos) == 2) {
        for (int i = 0; i < PH_COUNT; ++i) {
            if (std::strcmp(szName, g_apszPhaseName[i]) != 0) continue;
            times.at[i] = static_cast<double>(nNanos) / 1e9;
            abSeen[i] = true;
        }
    }
    int iStatus = pclose(fp);
    if (iStatus != 0 || std::count(abSeen, abSeen + PH_COUNT, false) != 0) {
        std::ifstream err("cobol.err");
        std::string sLine;
        std::getline(err, sLine);
        sWhy = std::string(pszProgram) + " failed (status " + std::to_string(iStatus) + "): " + sLine;
        return false;
    }
    return true;
}

void t_ReportPhase(benchmark::State& state, CRecordRun const& run, int iPhase) {
    if (!run.sError.empty()) {
        state.SkipWithError(run.sError.c_str());
        return;
    }
    for (auto _ : state) state.SetIterationTime(run.ours.at[iPhase]);
    double n = iPhase == PH_REWRITE ? run.nRewrites : run.nRecords;
    state.counters["ours_rec_per_s"] = n / run.ours.at[iPhase];
    state.counters["lmdb_rec_per_s"] = n / run.lmdb.at[iPhase];
    state.counters["ratio_lmdb"] = run.ours.at[iPhase] / run.lmdb.at[iPhase];
    std::string sLabel = g_apszPhaseLabel[iPhase];
    if (run.sCobolNote.empty()) {
        state.counters["cobol_rec_per_s"] = n / run.cobol.at[iPhase];
        state.counters["ratio_cobol"] = run.ours.at[iPhase] / run.cobol.at[iPhase];
    } else {
        sLabel += " (" + run.sCobolNote + ")";
    }
    state.SetLabel(sLabel);
}

}  // namespace morka
