// Keyed and record-number files: the statements against bare LMDB and a
// GnuCOBOL program doing the same work, measured in the same run (process
// CPU time on every side; see BenchRecords.h for the phases). 200,000
// records of 128 bytes in random write order, READ KEY of all of them in
// another random order on an update channel (which holds each record it
// reads) and on an input channel (which tests for another program's lock),
// READ NEXT through the file on both, and 50,000 rewrites (READ KEY + WRITE
// KEY on an update channel).
// Keyed file: 16-byte keys; against a GnuCOBOL INDEXED file (16-byte RECORD
// KEY at the start of a 128-byte record). Record-number file: record numbers
// 1..200,000 (4-byte big-endian keys in bare LMDB); against a GnuCOBOL
// RELATIVE file. The GnuCOBOL here is 3.1.2: INDEXED files on Berkeley DB
// without a DB environment, RELATIVE files built in. Neither locks records:
// its I-O open locks the whole file (RELATIVE) or nothing (INDEXED; the DB
// environment that would lock records crashes its READ), so only our side
// pays for record locks.
// Counters: records per second of each side; ratio_lmdb and ratio_cobol, the
// statements' time over the other's (below 1: the statements are faster).
// The first phase runs all of them once; the others report from that run.
#include "BenchRecords.h"

#include <cstdio>

using namespace morka;

namespace {

constexpr int RECORDS = 200000;
constexpr int REWRITES = 50000;
constexpr int KEY_LEN = 16;

CRecordRun const& s_KeyedRun() {
    static CRecordRun const run = [] {
        CRecordOrders orders = t_MakeOrders(RECORDS, REWRITES, 11);
        std::vector<CBString> aKeys;
        std::vector<std::string> aStored, aText;
        for (int id = 0; id < RECORDS; ++id) {
            char sz[KEY_LEN + 1];
            std::snprintf(sz, sizeof sz, "%016d", id * 13);
            aKeys.emplace_back(sz);
            aStored.push_back(std::string(sz) + '\0');  // as the store keeps a string key
            aText.emplace_back(sz);
        }
        return t_RunRecordPhases(ORG_KEYED, KEY_LEN, "bench-indexed", orders, aKeys, aStored, aText);
    }();
    return run;
}

CRecordRun const& s_RelativeRun() {
    static CRecordRun const run = [] {
        CRecordOrders orders = t_MakeOrders(RECORDS, REWRITES, 12);
        std::vector<CInt32> aKeys;
        std::vector<std::string> aStored, aText;
        for (int id = 0; id < RECORDS; ++id) {
            uint32_t n = static_cast<uint32_t>(id + 1);
            char sz[KEY_LEN + 1];
            std::snprintf(sz, sizeof sz, "%016u", n);
            aKeys.emplace_back(static_cast<int>(n));
            aStored.push_back(t_RecnoKey(n));
            aText.emplace_back(sz);
        }
        return t_RunRecordPhases(ORG_DIRECT, 0, "bench-relative", orders, aKeys, aStored, aText);
    }();
    return run;
}

void BM_KeyedRecords(benchmark::State& state) { t_ReportPhase(state, s_KeyedRun(), static_cast<int>(state.range(0))); }
void BM_RelativeRecords(benchmark::State& state) {
    t_ReportPhase(state, s_RelativeRun(), static_cast<int>(state.range(0)));
}

BENCHMARK(BM_KeyedRecords)
    ->DenseRange(0, PH_COUNT - 1)->ArgNames({"phase"})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelativeRecords)
    ->DenseRange(0, PH_COUNT - 1)->ArgNames({"phase"})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
