// PRINT to a file against plain C: 1,000,000 numbers and 1,000,000 short
// strings, each a PRINT statement of its own (Print(1, "dp", x, 2)), beside
// snprintf + fwrite of the very same bytes in the same run. The values are
// quarters (exact in both flavours, so the decimal flavour writes the same
// digits). Counters: seconds of each side and their ratio (PRINT / C; the
// goal is 1 or less). The two files are compared after each run.
#include <velbra.h>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace morka;

namespace {

constexpr int s_kCount = 1000000;

double s_Value(int i) { return (i % 40000) * 0.25 - 5000.0 + (i / 40000) * 1024.0; }

std::string s_Read(char const* psz) {
    std::ifstream in(psz, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double s_Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_PrintVsSnprintf(benchmark::State& state) {
    t_InitFiles();
    std::vector<CBString> aNames;
    for (int i = 0; i < 1000; ++i) aNames.emplace_back(CBString().format("item %d", i));
    double tPrint = 0, tC = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        FILE* f = std::fopen("bench_c.txt", "w");
        char aBuf[64];
        for (int i = 0; i < s_kCount; ++i) {
            double x = s_Value(i);
            int n = std::snprintf(aBuf, sizeof aBuf, x < 0 ? "%.14G \n" : " %.13G \n", x);
            std::fwrite(aBuf, 1, static_cast<std::size_t>(n), f);
        }
        for (int i = 0; i < s_kCount; ++i) {
            CBString const& s = aNames[static_cast<std::size_t>(i % 1000)];
            std::fwrite(s.data(), 1, static_cast<std::size_t>(s.length()), f);
            std::fputc('\n', f);
        }
        std::fclose(f);
        tC += s_Seconds(t0);

        t0 = std::chrono::steady_clock::now();
        Open(1, "bench_print.txt", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
        for (int i = 0; i < s_kCount; ++i) Print(1, "dp", static_cast<dfp_t>(s_Value(i)), 2);
        for (int i = 0; i < s_kCount; ++i) Print(1, "sp", &aNames[static_cast<std::size_t>(i % 1000)], 2);
        Close(1);
        tPrint += s_Seconds(t0);
    }
    if (s_Read("bench_c.txt") != s_Read("bench_print.txt")) state.SkipWithError("PRINT wrote other bytes than C");
    std::remove("bench_c.txt");
    std::remove("bench_print.txt");
    state.counters["c_s"] = tC / static_cast<double>(state.iterations());
    state.counters["print_s"] = tPrint / static_cast<double>(state.iterations());
    state.counters["ratio"] = tPrint / tC;
}
BENCHMARK(BM_PrintVsSnprintf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
