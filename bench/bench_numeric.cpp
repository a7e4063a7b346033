// Numeric conversions of the flavour: b_I, b_L, b_T and CDfp arithmetic,
// beside the plain C casts they replace, so the ratio shows their cost.
#include <velbra.h>

#include <benchmark/benchmark.h>
#include <vector>

using namespace morka;

namespace {

std::vector<double> s_Values() {
    std::vector<double> a(1024);
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = (static_cast<double>(i) - 512.0) * 97.31;
    return a;
}

void BM_PlainCastToShort(benchmark::State& state) {
    auto a = s_Values();
    for (auto _ : state)
        for (double x : a) benchmark::DoNotOptimize(static_cast<short>(x));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(BM_PlainCastToShort);

void BM_b_I_double(benchmark::State& state) {
    auto a = s_Values();
    for (auto _ : state)
        for (double x : a) benchmark::DoNotOptimize(b_I(x));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(BM_b_I_double);

void BM_b_L_double(benchmark::State& state) {
    auto a = s_Values();
    for (auto _ : state)
        for (double x : a) benchmark::DoNotOptimize(b_L(x));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(BM_b_L_double);

void BM_b_L_decimal64(benchmark::State& state) {
    auto a = s_Values();
    std::vector<decimal64> ad(a.begin(), a.end());
    for (auto _ : state)
        for (decimal64 x : ad) benchmark::DoNotOptimize(b_L(x));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ad.size()));
}
BENCHMARK(BM_b_L_decimal64);

void BM_b_T_double(benchmark::State& state) {
    auto a = s_Values();
    for (auto _ : state)
        for (double x : a) benchmark::DoNotOptimize(b_T(x));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(BM_b_T_double);

void BM_CDfp_MultiplyAdd(benchmark::State& state) {
    auto a = s_Values();
    std::vector<CDfp> ax(a.begin(), a.end());
    for (auto _ : state) {
        CDfp sum(0);
        for (CDfp const& x : ax) sum += x * CDfp(3);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ax.size()));
}
BENCHMARK(BM_CDfp_MultiplyAdd);

}  // namespace
