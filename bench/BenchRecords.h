// BenchRecords: what the record benchmarks share: the CPU clock, a temporary
// working directory, and the phases of keyed and record-number files timed
// three ways in one run: the statements (record locks active), bare LMDB with
// the store's environment flags, and a GnuCOBOL program (bench/cobol/).
// Time is process CPU time (user and system) on every side: the machine may
// be shared, and no phase waits for the disk (no forced sync).
#pragma once

#include <velbra.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace morka {

// CPU time of this process (user and system), in seconds.
double t_CpuNow();
inline double t_CpuSince(double t0) { return t_CpuNow() - t0; }

// A fresh temporary directory as the current directory, with a fresh channel
// table; removed with everything in it at the end.
class CBenchDir {
public:
    CBenchDir();
    ~CBenchDir();
    CBenchDir(CBenchDir const&) = delete;
    CBenchDir& operator=(CBenchDir const&) = delete;
    std::string const& Path() const { return m_sPath; }

private:
    std::string m_sPath, m_sOld;
};

// The phases, in the order they run on one file. The names are the ones the
// COBOL programs print.
enum t_RecordPhase {
    PH_WRITE_KEY,           // every record, write order, update channel
    PH_READ_KEY_UPDATE,     // every record, read order; holds each record read
    PH_READ_KEY_INPUT,      // the same on an input channel (tests for locks)
    PH_READ_NEXT_UPDATE,    // through the file in key order
    PH_READ_NEXT_INPUT,
    PH_REWRITE,             // READ KEY + WRITE KEY of the rewrite order
    PH_COUNT
};
extern char const* const g_apszPhaseName[PH_COUNT];
extern char const* const g_apszPhaseLabel[PH_COUNT];

constexpr int RECORD_SIZE = 128;

// The orders of one run, as record ids 0..nRecords-1: every id in a write
// order and in another read order, and the first nRewrites ids of a third.
struct CRecordOrders {
    int nRecords = 0;
    std::vector<int> aWrite, aRead, aRewrite;
};
CRecordOrders t_MakeOrders(int nRecords, int nRewrites, unsigned uSeed);

struct CPhaseTimes {
    double at[PH_COUNT] = {};
};

// The phases on bare LMDB: an environment opened as the store opens one,
// one transaction per write, a fresh read snapshot per read and the position
// found again at each READ NEXT step. aStored: the stored key of each id.
CPhaseTimes t_LmdbPhases(CRecordOrders const& orders, std::vector<std::string> const& aStored);

// Runs the compiled GnuCOBOL program pszProgram in the current directory on
// the key file it reads first ("keys.dat": a header record, then the three
// orders; aText: the 16-byte key-file record of each id) and collects the CPU
// time of each phase it prints. False with the reason in sWhy when it fails.
bool t_CobolPhases(char const* pszProgram, CRecordOrders const& orders, std::vector<std::string> const& aText,
                   CPhaseTimes& times, std::string& sWhy);

// All three sides of one file organisation; sCobolNote says why the COBOL
// side is missing (empty when it ran), sError what the statements got wrong.
struct CRecordRun {
    CPhaseTimes ours, lmdb, cobol;
    int nRecords = 0, nRewrites = 0;
    std::string sCobolNote, sError;
};

// Reports phase iPhase of a run: the statements' CPU time as the iteration
// time, records per second of each side, ratio_lmdb and ratio_cobol (the
// statements' time over the other's: below 1, the statements are faster).
void t_ReportPhase(benchmark::State& state, CRecordRun const& run, int iPhase);

// The directory of the compiled COBOL programs, or null when cobc was
// missing at build time.
char const* t_CobolDir();

inline CBString const* t_KeyArg(CBString const& sKey) { return &sKey; }
inline CInt32 t_KeyArg(CInt32 nKey) { return nKey; }

// The phases through the statements on file pszFile (created here with a
// 128-byte record buffer): aKeys holds the key of each id (CBString for a
// keyed file, CInt32 for a record-number file). Every record is one string
// field filling the buffer. Sets sWhy when a read returned something else.
template <class TKey>
CPhaseTimes t_StatementPhases(char const* pszFile, t_FileOrg eOrg, int nKeyLen, CRecordOrders const& orders,
                              std::vector<TKey> const& aKeys, std::string& sWhy) {
    CPhaseTimes times;
    CBString sField(std::string(RECORD_SIZE - 2, 'v'));  // tag, length and the bytes: the whole buffer
    CBString sRewritten(std::string(RECORD_SIZE - 2, 'w'));
    CBString sValue;
    TKey keyFound{};
    Create(pszFile, eOrg, RECORD_SIZE, nKeyLen);
    auto timed = [&](t_RecordPhase ePhase, int channel, t_FileAccess eAccess, auto const& work) {
        Open(channel, pszFile, eOrg, eAccess, 0);
        double t0 = t_CpuNow();
        work(channel);
        times.at[ePhase] = t_CpuSince(t0);
        Close(channel);
    };
    auto readByKey = [&](int channel) {
        for (int id : orders.aRead) ReadKey(channel, t_KeyArg(aKeys[id]), "s", &sValue);
    };
    auto readThrough = [&](int channel) {
        for (int i = 0; i < orders.nRecords; ++i) ReadNext(channel, &keyFound, "s", &sValue);
    };
    timed(PH_WRITE_KEY, 1, ACC_UPDATE, [&](int channel) {
        for (int id : orders.aWrite) WriteKey(channel, t_KeyArg(aKeys[id]), "s", &sField);
    });
    timed(PH_READ_KEY_UPDATE, 1, ACC_UPDATE, readByKey);
    timed(PH_READ_KEY_INPUT, 2, ACC_INPUT, readByKey);
    if (sValue != sField) sWhy = "READ KEY returned another record";
    timed(PH_READ_NEXT_UPDATE, 1, ACC_UPDATE, readThrough);
    timed(PH_READ_NEXT_INPUT, 2, ACC_INPUT, readThrough);
    if (!(keyFound == aKeys[orders.nRecords - 1])) sWhy = "READ NEXT did not end on the last key";
    timed(PH_REWRITE, 1, ACC_UPDATE, [&](int channel) {
        for (int id : orders.aRewrite) {
            ReadKey(channel, t_KeyArg(aKeys[id]), "s", &sValue);
            WriteKey(channel, t_KeyArg(aKeys[id]), "s", &sRewritten);
        }
    });
    return times;
}

// One run of the three sides in a fresh directory.
template <class TKey>
CRecordRun t_RunRecordPhases(t_FileOrg eOrg, int nKeyLen, char const* pszCobolProgram, CRecordOrders const& orders,
                             std::vector<TKey> const& aKeys, std::vector<std::string> const& aStored,
                             std::vector<std::string> const& aText) {
    CRecordRun run;
    run.nRecords = orders.nRecords;
    run.nRewrites = static_cast<int>(orders.aRewrite.size());
    CBenchDir dir;
    run.ours = t_StatementPhases("records.dat", eOrg, nKeyLen, orders, aKeys, run.sError);
    std::string sWhy;
    run.lmdb = t_LmdbPhases(orders, aStored);
    if (!t_CobolDir()) {
        run.sCobolNote = "no GnuCOBOL comparison: cobc was not found at build time";
    } else if (!t_CobolPhases((std::string(t_CobolDir()) + "/" + pszCobolProgram).c_str(), orders, aText, run.cobol, sWhy)) {
        run.sCobolNote = "no GnuCOBOL comparison: " + sWhy;
    }
    return run;
}

}  // namespace morka
