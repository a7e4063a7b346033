// Storage engine of keyed files against bare LMDB with the same environment
// flags (one transaction per write, no forced sync), in the same run:
// 100,000 records of 128 bytes under 16-byte keys written in random key order,
// read back by key in another random order, and walked in key order with
// positional reads. Phases: 0 write, 1 read by key on the writing channel
// (each record held in turn), 3 the same on an input channel, 2 the walk in
// key order on the writing channel. Counters: records per second of each and the ratio of
// the engine's time to LMDB's.
#include <morka/Store.h>
#include <morka/FileMngr.h>

#include <benchmark/benchmark.h>
#include <lmdb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace morka;

namespace {

constexpr int RECORDS = 100000;

struct CWork {
    std::string sDir;
    std::vector<std::string> aKeys;     // write order
    std::vector<std::string> aReadKeys; // read order
    std::string sRecord = std::string(128, 'r');
    CWork() {
        char sz[] = "/tmp/velbra-bench-XXXXXX";
        sDir = mkdtemp(sz);
        std::mt19937 rng(7);
        for (int i = 0; i < RECORDS; ++i) {
            char szKey[17];
            std::snprintf(szKey, sizeof szKey, "%016d", i * 7);
            aKeys.emplace_back(szKey, 16);
        }
        std::shuffle(aKeys.begin(), aKeys.end(), rng);
        aReadKeys = aKeys;
        std::shuffle(aReadKeys.begin(), aReadKeys.end(), rng);
    }
    ~CWork() { std::system(("rm -rf " + sDir).c_str()); }
};

double s_Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Bare LMDB: the same flags as the engine's default.
struct CRaw {
    MDB_env* pEnv = nullptr;
    MDB_dbi dbi = 0;
    explicit CRaw(std::string const& sPath) {
        mdb_env_create(&pEnv);
        mdb_env_set_maxdbs(pEnv, 16);
        mdb_env_set_mapsize(pEnv, 64ULL << 30);
        mdb_env_open(pEnv, sPath.c_str(), MDB_NOSUBDIR | MDB_NOTLS | MDB_NOSYNC, 0666);
        MDB_txn* pTxn;
        mdb_txn_begin(pEnv, nullptr, 0, &pTxn);
        mdb_dbi_open(pTxn, "records", MDB_CREATE, &dbi);
        mdb_txn_commit(pTxn);
    }
    ~CRaw() { mdb_env_close(pEnv); }
};

void s_Report(benchmark::State& state, double tOurs, double tRaw) {
    state.counters["engine_rec_per_s"] = RECORDS / tOurs;
    state.counters["lmdb_rec_per_s"] = RECORDS / tRaw;
    state.counters["ratio_engine_to_lmdb"] = tOurs / tRaw;
}

void BM_StoreWriteReadWalk(benchmark::State& state) {
    int iPhase = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CWork w;
        std::string sOurs = w.sDir + "/ours", sRaw = w.sDir + "/raw";
        t_StoreCreate(sOurs.c_str(), ORG_KEYED, 128, 16);
        CStoreChannel ch;
        ch.Open(sOurs.c_str(), true);
        CRaw raw(sRaw);

        auto t0 = std::chrono::steady_clock::now();
        for (auto const& k : w.aKeys) ch.Write(k, w.sRecord.data(), w.sRecord.size());
        double tOursWrite = s_Seconds(t0);
        t0 = std::chrono::steady_clock::now();
        for (auto const& k : w.aKeys) {
            MDB_txn* pTxn;
            mdb_txn_begin(raw.pEnv, nullptr, 0, &pTxn);
            std::string sKey = k + '\0';
            MDB_val key{sKey.size(), sKey.data()}, val{w.sRecord.size(), w.sRecord.data()};
            mdb_put(pTxn, raw.dbi, &key, &val, 0);
            mdb_txn_commit(pTxn);
        }
        double tRawWrite = s_Seconds(t0);
        if (iPhase == 0) {
            s_Report(state, tOursWrite, tRawWrite);
            continue;
        }

        std::string sRec, sKey;
        double tOurs = 0, tRaw = 0;
        MDB_txn* pRead;
        mdb_txn_begin(raw.pEnv, nullptr, MDB_RDONLY, &pRead);
        mdb_txn_reset(pRead);
        if (iPhase == 1 || iPhase == 3) {
            // Phase 1 reads on the writing channel (each record held in
            // turn), phase 3 on a channel opened for input.
            CStoreChannel in;
            in.Open(sOurs.c_str(), false);
            CStoreChannel& rd = iPhase == 1 ? ch : in;
            t0 = std::chrono::steady_clock::now();
            for (auto const& k : w.aReadKeys) rd.ReadKey(k, sRec);
            tOurs = s_Seconds(t0);
            t0 = std::chrono::steady_clock::now();
            for (auto const& k : w.aReadKeys) {
                mdb_txn_renew(pRead);
                std::string s = k + '\0';
                MDB_val key{s.size(), s.data()}, val;
                mdb_get(pRead, raw.dbi, &key, &val);
                sRec.assign(static_cast<char*>(val.mv_data), val.mv_size);
                mdb_txn_reset(pRead);
            }
            tRaw = s_Seconds(t0);
        } else {
            t0 = std::chrono::steady_clock::now();
            ch.ReadFirst(sKey, sRec);
            for (int i = 1; i < RECORDS; ++i) ch.ReadNext(sKey, sRec);
            tOurs = s_Seconds(t0);
            // Positions survive between statements: each step finds its place again.
            t0 = std::chrono::steady_clock::now();
            MDB_cursor* pCursor;
            mdb_txn_renew(pRead);
            mdb_cursor_open(pRead, raw.dbi, &pCursor);
            mdb_txn_reset(pRead);
            std::string sPos;
            for (int i = 0; i < RECORDS; ++i) {
                mdb_txn_renew(pRead);
                mdb_cursor_renew(pRead, pCursor);
                MDB_val key{sPos.size(), sPos.data()}, val;
                int rc = i == 0 ? mdb_cursor_get(pCursor, &key, &val, MDB_FIRST)
                                : mdb_cursor_get(pCursor, &key, &val, MDB_SET_RANGE);
                if (i > 0 && rc == 0) rc = mdb_cursor_get(pCursor, &key, &val, MDB_NEXT);
                sPos.assign(static_cast<char*>(key.mv_data), key.mv_size);
                sRec.assign(static_cast<char*>(val.mv_data), val.mv_size);
                mdb_txn_reset(pRead);
            }
            mdb_cursor_close(pCursor);
            tRaw = s_Seconds(t0);
        }
        mdb_txn_abort(pRead);
        s_Report(state, tOurs, tRaw);
    }
}
BENCHMARK(BM_StoreWriteReadWalk)->Arg(0)->Arg(1)->Arg(3)->Arg(2)->ArgNames({"phase"})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
