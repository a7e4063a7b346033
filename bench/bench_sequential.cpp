// Sequential WRITE and READ of 1,000,000 records of five fields against
// hand-written stdio code producing and parsing the same bytes, in the same
// run (process CPU time). Counters: records per second of each and
// ratio_stdio, the statements' time over the hand-written code's (below 1:
// the statements are faster).
#include "BenchRecords.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace morka;

namespace {

constexpr int SEQ_RECORDS = 1000000;

void s_Report(benchmark::State& state, double tOurs, double tHand) {
    state.counters["ours_rec_per_s"] = SEQ_RECORDS / tOurs;
    state.counters["stdio_rec_per_s"] = SEQ_RECORDS / tHand;
    state.counters["ratio_stdio"] = tOurs / tHand;
}

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
        CBenchDir dir;
        CBString sA("customer name"), sB("street 12");
        auto t0 = t_CpuNow();
        Open(1, "seq.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
        for (int i = 0; i < SEQ_RECORDS; ++i) Write(1, "ildss", i, i, static_cast<dfp_t>(i * 0.25), &sA, &sB);
        Close(1);
        double tOursWrite = t_CpuSince(t0);
        t0 = t_CpuNow();
        FILE* fp = std::fopen("hand.dat", "wb");
        for (int i = 0; i < SEQ_RECORDS; ++i) s_WriteByHand(fp, i, i * 0.25, "customer name", "street 12");
        std::fclose(fp);
        double tHandWrite = t_CpuSince(t0);
        if (iPhase == 0) {
            s_Report(state, tOursWrite, tHandWrite);
            continue;
        }
        CInt16 i16;
        CInt32 i32;
        CDfp x;
        CBString s1, s2;
        t0 = t_CpuNow();
        Open(1, "seq.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
        for (int i = 0; i < SEQ_RECORDS; ++i) Read(1, "ildss", &i16, &i32, &x, &s1, &s2);
        Close(1);
        double tOurs = t_CpuSince(t0);
        t0 = t_CpuNow();
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
        s_Report(state, tOurs, t_CpuSince(t0));
    }
}
BENCHMARK(BM_SequentialStatementsAgainstStdio)->Arg(0)->Arg(1)->ArgNames({"phase"})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
