// Record statements against the same work done directly, in the same run:
// WRITE KEY of 100,000 records (16-byte keys, 128-byte records) in random key
// order, READ KEY of all of them in another random order, and READ NEXT
// through the file, against bare LMDB with the same environment flags (one
// transaction per write, no forced sync); record locks are active as in real
// use (the reads run on an update channel, which holds each record it reads,
// and on an input channel, which only tests for another program's lock).
// Sequential WRITE and READ of 1,000,000 records of five fields against
// hand-written stdio code producing and parsing the same bytes.
// Counters: records per second of each and the ratio of the statements' time
// to the direct code's (below 1: the statements are faster).
#include <velbra.h>

#include <benchmark/benchmark.h>
#include <lmdb.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace morka;

namespace {

constexpr int KEYED_RECORDS = 100000;
constexpr int SEQ_RECORDS = 1000000;

// Time is the process's CPU time (user and system): the machine may be
// shared, and no phase waits for the disk (no forced sync).
struct CCpuClock {
    using time_point = double;
    static double now() {
        timespec ts;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    }
};

double s_Since(double t0) { return CCpuClock::now() - t0; }

struct CDir {
    std::string sPath, sOld;
    CDir() {
        char sz[] = "/tmp/velbra-bench-XXXXXX";
        sPath = mkdtemp(sz);
        char szCwd[4096];
        sOld = getcwd(szCwd, sizeof szCwd) ? szCwd : ".";
        (void)!chdir(sPath.c_str());
        t_InitFiles();
    }
    ~CDir() {
        t_CloseAll();
        (void)!chdir(sOld.c_str());
        std::system(("rm -rf " + sPath).c_str());
    }
};

void s_Report(benchmark::State& state, int nRecords, double tOurs, double tDirect) {
    state.counters["statements_rec_per_s"] = nRecords / tOurs;
    state.counters["direct_rec_per_s"] = nRecords / tDirect;
    state.counters["ratio"] = tOurs / tDirect;
}

// Phases: 0 WRITE KEY, 1 READ KEY (update channel), 2 READ KEY (input
// channel), 3 READ NEXT (update channel), 4 READ NEXT (input channel).
void BM_KeyedStatementsAgainstLmdb(benchmark::State& state) {
    int iPhase = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CDir dir;
        std::mt19937 rng(11);
        std::vector<CBString> aKeys;
        for (int i = 0; i < KEYED_RECORDS; ++i) {
            CBString s;
            s.format("%016d", i * 13);
            aKeys.push_back(s);
        }
        std::shuffle(aKeys.begin(), aKeys.end(), rng);
        CBString sField(std::string(126, 'v'));  // tag, length and 126 bytes: 128
        Create("k.dat", ORG_KEYED, 128, 16);
        Open(1, "k.dat", ORG_KEYED, ACC_UPDATE, 0);
        QXFILE* pFile = GetFile(1);

        MDB_env* pEnv;
        mdb_env_create(&pEnv);
        mdb_env_set_maxdbs(pEnv, 16);
        mdb_env_set_mapsize(pEnv, 64ULL << 30);
        mdb_env_open(pEnv, "raw.mdb", MDB_NOSUBDIR | MDB_NOTLS | MDB_NOSYNC, 0666);
        MDB_txn* pTxn;
        MDB_dbi dbi;
        mdb_txn_begin(pEnv, nullptr, 0, &pTxn);
        mdb_dbi_open(pTxn, "records", MDB_CREATE, &dbi);
        mdb_txn_commit(pTxn);

        auto t0 = CCpuClock::now();
        for (auto const& k : aKeys) WriteKey(1, &k, "s", &sField);
        double tOurs = s_Since(t0);
        std::string sRecord(pFile->pRecord, pFile->pRecord + 128);
        t0 = CCpuClock::now();
        for (auto const& k : aKeys) {
            mdb_txn_begin(pEnv, nullptr, 0, &pTxn);
            std::string sKey = k.str() + '\0';
            MDB_val key{sKey.size(), sKey.data()}, val{sRecord.size(), sRecord.data()};
            mdb_put(pTxn, dbi, &key, &val, 0);
            mdb_txn_commit(pTxn);
        }
        double tDirect = s_Since(t0);
        if (iPhase == 0) {
            s_Report(state, KEYED_RECORDS, tOurs, tDirect);
            mdb_env_close(pEnv);
            continue;
        }
        int iChannel = (iPhase == 2 || iPhase == 4) ? 2 : 1;
        if (iChannel == 2) Open(2, "k.dat", ORG_KEYED, ACC_INPUT, 0);
        std::shuffle(aKeys.begin(), aKeys.end(), rng);
        CBString sValue, sKeyFound;
        MDB_txn* pRead;
        mdb_txn_begin(pEnv, nullptr, MDB_RDONLY, &pRead);
        mdb_txn_reset(pRead);
        std::string sCopy;
        if (iPhase <= 2) {
            t0 = CCpuClock::now();
            for (auto const& k : aKeys) ReadKey(iChannel, &k, "s", &sValue);
            tOurs = s_Since(t0);
            t0 = CCpuClock::now();
            for (auto const& k : aKeys) {
                mdb_txn_renew(pRead);
                std::string sKey = k.str() + '\0';
                MDB_val key{sKey.size(), sKey.data()}, val;
                mdb_get(pRead, dbi, &key, &val);
                sCopy.assign(static_cast<char*>(val.mv_data), val.mv_size);
                mdb_txn_reset(pRead);
            }
            tDirect = s_Since(t0);
        } else {
            t0 = CCpuClock::now();
            for (int i = 0; i < KEYED_RECORDS; ++i) ReadNext(iChannel, &sKeyFound, "s", &sValue);
            tOurs = s_Since(t0);
            // The position lives between statements: each step finds it again.
            MDB_cursor* pCursor;
            mdb_txn_renew(pRead);
            mdb_cursor_open(pRead, dbi, &pCursor);
            mdb_txn_reset(pRead);
            std::string sPos;
            t0 = CCpuClock::now();
            for (int i = 0; i < KEYED_RECORDS; ++i) {
                mdb_txn_renew(pRead);
                mdb_cursor_renew(pRead, pCursor);
                MDB_val key{sPos.size(), sPos.data()}, val;
                int rc = i == 0 ? mdb_cursor_get(pCursor, &key, &val, MDB_FIRST) : mdb_cursor_get(pCursor, &key, &val, MDB_SET_RANGE);
                if (i > 0 && rc == 0) mdb_cursor_get(pCursor, &key, &val, MDB_NEXT);
                sPos.assign(static_cast<char*>(key.mv_data), key.mv_size);
                sCopy.assign(static_cast<char*>(val.mv_data), val.mv_size);
                mdb_txn_reset(pRead);
            }
            tDirect = s_Since(t0);
            mdb_cursor_close(pCursor);
        }
        mdb_txn_abort(pRead);
        mdb_env_close(pEnv);
        s_Report(state, KEYED_RECORDS, tOurs, tDirect);
    }
}
BENCHMARK(BM_KeyedStatementsAgainstLmdb)
    ->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->ArgNames({"phase"})->Iterations(1)->Unit(benchmark::kMillisecond);

// Hand-written stdio: the same five fields (a 16-bit integer, a 32-bit
// integer, a number, a short string, a second string) and end byte.
void s_PutLe(FILE* fp, unsigned long long u, int n) {
    for (int i = 0; i < n; ++i, u >>= 8) putc_unlocked(static_cast<int>(u & 0xFF), fp);
}

void s_WriteByHand(FILE* fp, int i, double x, char const* pszA, char const* pszB) {
    putc_unlocked(TAG_INT16, fp);
    s_PutLe(fp, static_cast<uint16_t>(i), 2);
    putc_unlocked(TAG_INT32, fp);
    s_PutLe(fp, static_cast<uint32_t>(i), 4);
    unsigned char ab[8];
    std::memcpy(ab, &x, 8);
    ieee2bcd(ab);
    putc_unlocked(TAG_BCD, fp);
    fwrite_unlocked(ab, 1, 8, fp);
    for (char const* psz : {pszA, pszB}) {
        std::size_t n = std::strlen(psz);
        putc_unlocked(TAG_STRING8, fp);
        putc_unlocked(static_cast<int>(n), fp);
        fwrite_unlocked(psz, 1, n, fp);
    }
    putc_unlocked(0, fp);
}

// Reads one record by hand: one buffer per record, getc_unlocked for the
// tags, the fields decoded from the buffer.
bool s_ReadByHand(FILE* fp, std::vector<unsigned char>& a, int& i, long& l, double& x, std::string& s1, std::string& s2) {
    a.clear();
    int c;
    while ((c = getc_unlocked(fp)) != EOF && c != 0) {
        a.push_back(static_cast<unsigned char>(c));
        std::size_t n = c == TAG_INT16 ? 2 : c == TAG_INT32 ? 4 : c == TAG_BCD ? 8 : 0;
        if (c == TAG_STRING8) n = static_cast<std::size_t>(getc_unlocked(fp)), a.push_back(static_cast<unsigned char>(n));
        std::size_t k = a.size();
        a.resize(k + n);
        if (fread_unlocked(a.data() + k, 1, n, fp) != n) return false;
    }
    if (a.empty()) return false;
    std::size_t k = 0;
    i = static_cast<int16_t>(a[k + 1] | a[k + 2] << 8);
    k += 3;
    l = static_cast<int32_t>(a[k + 1] | a[k + 2] << 8 | a[k + 3] << 16 | static_cast<uint32_t>(a[k + 4]) << 24);
    k += 5;
    x = bcd2ieee(&a[k + 1]);
    k += 9;
    s1.assign(reinterpret_cast<char*>(&a[k + 2]), a[k + 1]);
    k += 2 + a[k + 1];
    s2.assign(reinterpret_cast<char*>(&a[k + 2]), a[k + 1]);
    return true;
}

// Phases: 0 WRITE, 1 READ.
void BM_SequentialStatementsAgainstStdio(benchmark::State& state) {
    int iPhase = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CDir dir;
        CBString sA("customer name"), sB("street 12");
        auto t0 = CCpuClock::now();
        Open(1, "seq.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
        for (int i = 0; i < SEQ_RECORDS; ++i) Write(1, "ildss", i, i, static_cast<dfp_t>(i * 0.25), &sA, &sB);
        Close(1);
        double tOursWrite = s_Since(t0);
        t0 = CCpuClock::now();
        FILE* fp = std::fopen("hand.dat", "wb");
        for (int i = 0; i < SEQ_RECORDS; ++i) s_WriteByHand(fp, i, i * 0.25, "customer name", "street 12");
        std::fclose(fp);
        double tHandWrite = s_Since(t0);
        if (iPhase == 0) {
            s_Report(state, SEQ_RECORDS, tOursWrite, tHandWrite);
            continue;
        }
        CInt16 i16;
        CInt32 i32;
        CDfp x;
        CBString s1, s2;
        t0 = CCpuClock::now();
        Open(1, "seq.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
        for (int i = 0; i < SEQ_RECORDS; ++i) Read(1, "ildss", &i16, &i32, &x, &s1, &s2);
        Close(1);
        double tOurs = s_Since(t0);
        t0 = CCpuClock::now();
        fp = std::fopen("hand.dat", "rb");
        std::vector<unsigned char> a;
        int i;
        long l;
        double d;
        std::string h1, h2;
        int nRead = 0;
        while (s_ReadByHand(fp, a, i, l, d, h1, h2)) ++nRead;
        benchmark::DoNotOptimize(nRead);
        if (nRead != SEQ_RECORDS) state.SkipWithError("the hand-written reader lost records");
        std::fclose(fp);
        s_Report(state, SEQ_RECORDS, tOurs, s_Since(t0));
    }
}
BENCHMARK(BM_SequentialStatementsAgainstStdio)->Arg(0)->Arg(1)->ArgNames({"phase"})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
