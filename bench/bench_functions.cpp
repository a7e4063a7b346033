// Built-in functions: Format, the PRINT USING picture walk and the PRINT
// USING statement over 1,000,000 numbers against snprintf of comparable text
// (the ratio is printed as a counter), and Ext of the last field over strings
// of growing size (the complexity fit must come out linear).
#include <velbra.h>
#include "runtime/functions/UsingWalk.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

using namespace morka;

namespace {

constexpr int N_NUMBERS = 1000000;

// CPU time of this process: the machine is shared, so wall time would
// charge other programs' work to whichever loop ran beside them.
double s_CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
char const* const s_pszPicture = "####,###.##";   // every number of the list fits

std::vector<dfp_t> const& s_Numbers() {
    static std::vector<dfp_t> s_a = [] {
        std::vector<dfp_t> a;
        a.reserve(N_NUMBERS);
        unsigned u = 12345;
        for (int i = 0; i < N_NUMBERS; ++i) {
            u = u * 1103515245u + 12345u;
            a.push_back(static_cast<dfp_t>(static_cast<int>(u % 199999999u) - 99999999) / 100);
        }
        return a;
    }();
    return s_a;
}

// The comparable text: the same width and two decimals, with grouping
// (the ' flag) as the picture groups.
double s_SnprintfSeconds() {
    double t0 = s_CpuSeconds();
    char aBuf[64];
    for (dfp_t x : s_Numbers()) {
        int n = std::snprintf(aBuf, sizeof aBuf, "%'11.2f", static_cast<double>(x));
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(aBuf);
    }
    return s_CpuSeconds() - t0;
}

double s_FormatSeconds() {
    double t0 = s_CpuSeconds();
    for (dfp_t x : s_Numbers()) {
        CBString s = Format(x, s_pszPicture);
        benchmark::DoNotOptimize(s.data());
    }
    return s_CpuSeconds() - t0;
}

class CCountingSink : public CUsingSink {
public:
    void Text(std::string_view sPiece) override { nBytes += sPiece.size(); }
    void LineEnd() override { ++nBytes; }
    std::size_t nBytes = 0;
};

// PRINT USING of the whole list in one statement: the picture restarts on a
// new line for every number.
double s_UsingWalkSeconds() {
    std::vector<CUsingValue> a;
    a.reserve(N_NUMBERS);
    for (dfp_t x : s_Numbers()) {
        CUsingValue v;
        v.cType = 'd';
        v.x = x;
        a.push_back(v);
    }
    CCountingSink sink;
    double t0 = s_CpuSeconds();
    b_UsingWalk(s_pszPicture, a.data(), a.size(), sink);
    double d = s_CpuSeconds() - t0;
    benchmark::DoNotOptimize(sink.nBytes);
    return d;
}

// A PRINT USING statement per number into a text file, against snprintf +
// fwrite of a comparable line into a file.
double s_PrintUsingSeconds() {
    t_InitFiles();
    double t0 = s_CpuSeconds();
    Open(1, "bench_using.txt", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
    for (dfp_t x : s_Numbers()) PrintUsing(1, s_pszPicture, "dp", x, 2);
    Close(1);
    double d = s_CpuSeconds() - t0;
    std::remove("bench_using.txt");
    return d;
}

double s_SnprintfFileSeconds() {
    double t0 = s_CpuSeconds();
    FILE* f = std::fopen("bench_c.txt", "w");
    char aBuf[64];
    for (dfp_t x : s_Numbers()) {
        int n = std::snprintf(aBuf, sizeof aBuf, "%'11.2f\n", static_cast<double>(x));
        std::fwrite(aBuf, 1, static_cast<std::size_t>(n), f);
    }
    std::fclose(f);
    double d = s_CpuSeconds() - t0;
    std::remove("bench_c.txt");
    return d;
}

// Times one way of writing the million numbers against its C counterpart in
// the same iteration and reports both and their ratio.
void s_ReportRatio(benchmark::State& state, double (*pfnOurs)(), double (*pfnC)() = s_SnprintfSeconds) {
    for (auto _ : state) {
        double dOurs = pfnOurs();
        double dC = pfnC();
        state.counters["ours_s"] = dOurs;
        state.counters["snprintf_s"] = dC;
        state.counters["ratio"] = dOurs / dC;
    }
}

void BM_FormatMillion(benchmark::State& state) { s_ReportRatio(state, s_FormatSeconds); }
BENCHMARK(BM_FormatMillion)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PrintUsingWalkMillion(benchmark::State& state) { s_ReportRatio(state, s_UsingWalkSeconds); }
BENCHMARK(BM_PrintUsingWalkMillion)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PrintUsingStatementMillion(benchmark::State& state) {
    s_ReportRatio(state, s_PrintUsingSeconds, s_SnprintfFileSeconds);
}
BENCHMARK(BM_PrintUsingStatementMillion)->Iterations(3)->Unit(benchmark::kMillisecond);

CBString s_Fields(int nFields) {
    std::string s;
    s.reserve(static_cast<std::size_t>(nFields) * 8);
    for (int i = 1; i <= nFields; ++i) {
        if (i > 1) s += static_cast<char>(b_cField);
        s += "f" + std::to_string(i);
        s += static_cast<char>(b_cSub);
        s += "x";
    }
    return CBString(s);
}

// Ext of the last field and its second sub-field: the scan covers the whole
// string, so the cost must grow with the number of fields, linearly.
void BM_ExtLastField(benchmark::State& state) {
    int nFields = static_cast<int>(state.range(0));
    CBString s = s_Fields(nFields);
    for (auto _ : state) {
        CBString r = Ext(s, nFields, 2);
        benchmark::DoNotOptimize(r.data());
    }
    state.SetComplexityN(nFields);
    state.SetBytesProcessed(state.iterations() * s.length());
}
BENCHMARK(BM_ExtLastField)->RangeMultiplier(4)->Range(1 << 8, 1 << 18)->Complexity(benchmark::oN);

// Every field of a 10,000-field string in turn: n calls of linear cost.
void BM_ExtEveryFieldOf10000(benchmark::State& state) {
    CBString s = s_Fields(10000);
    for (auto _ : state) {
        std::size_t nTotal = 0;
        for (int i = 1; i <= 10000; ++i) nTotal += static_cast<std::size_t>(Ext(s, i, 0).length());
        benchmark::DoNotOptimize(nTotal);
    }
}
BENCHMARK(BM_ExtEveryFieldOf10000)->Unit(benchmark::kMillisecond);

}  // namespace
