// Array element access: reads and writes through CDfpMatrix::operator() (the
// inline in-range path: base read, range compares, index arithmetic) beside
// the same loops over a plain C array of as many elements, one and two
// dimensions, so the ratio shows what the subscript check costs. Base 1.
#include <velbra/Matrix.h>

#include <benchmark/benchmark.h>

using namespace morka;

namespace {

constexpr int s_nRows1 = 1024;
constexpr int s_nRows2 = 32;
constexpr int s_nCols2 = 32;

// Sets OPTION BASE 1 for one benchmark and puts the old base back.
class CBase1 {
public:
    CBase1() : m_lSaved(b_lArrayBase) { b_lArrayBase = 1; }
    ~CBase1() { b_lArrayBase = m_lSaved; }

private:
    long m_lSaved;
};

void BM_Plain1D_Read(benchmark::State& state) {
    dfp_t a[s_nRows1] = {};
    benchmark::DoNotOptimize(a);
    for (auto _ : state)
        for (int i = 0; i < s_nRows1; ++i) benchmark::DoNotOptimize(a[i]);
    state.SetItemsProcessed(state.iterations() * s_nRows1);
}
BENCHMARK(BM_Plain1D_Read);

void BM_Matrix1D_Read(benchmark::State& state) {
    CBase1 base;
    CDfpMatrix a(s_nRows1, 0);
    for (auto _ : state)
        for (int i = 1; i <= s_nRows1; ++i) benchmark::DoNotOptimize(a(i, 0));
    state.SetItemsProcessed(state.iterations() * s_nRows1);
}
BENCHMARK(BM_Matrix1D_Read);

void BM_Plain1D_Write(benchmark::State& state) {
    dfp_t a[s_nRows1] = {};
    benchmark::DoNotOptimize(a);
    dfp_t x = 3;
    benchmark::DoNotOptimize(x);
    for (auto _ : state) {
        for (int i = 0; i < s_nRows1; ++i) a[i] = x;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * s_nRows1);
}
BENCHMARK(BM_Plain1D_Write);

void BM_Matrix1D_Write(benchmark::State& state) {
    CBase1 base;
    CDfpMatrix a(s_nRows1, 0);
    CDfp x(3);
    benchmark::DoNotOptimize(x);
    for (auto _ : state) {
        for (int i = 1; i <= s_nRows1; ++i) a(i, 0) = x;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * s_nRows1);
}
BENCHMARK(BM_Matrix1D_Write);

void BM_Plain2D_Read(benchmark::State& state) {
    dfp_t a[s_nRows2][s_nCols2] = {};
    benchmark::DoNotOptimize(a);
    for (auto _ : state)
        for (int i = 0; i < s_nRows2; ++i)
            for (int j = 0; j < s_nCols2; ++j) benchmark::DoNotOptimize(a[i][j]);
    state.SetItemsProcessed(state.iterations() * s_nRows2 * s_nCols2);
}
BENCHMARK(BM_Plain2D_Read);

void BM_Matrix2D_Read(benchmark::State& state) {
    CBase1 base;
    CDfpMatrix a(s_nRows2, s_nCols2);
    for (auto _ : state)
        for (int i = 1; i <= s_nRows2; ++i)
            for (int j = 1; j <= s_nCols2; ++j) benchmark::DoNotOptimize(a(i, j));
    state.SetItemsProcessed(state.iterations() * s_nRows2 * s_nCols2);
}
BENCHMARK(BM_Matrix2D_Read);

void BM_Plain2D_Write(benchmark::State& state) {
    dfp_t a[s_nRows2][s_nCols2] = {};
    benchmark::DoNotOptimize(a);
    dfp_t x = 3;
    benchmark::DoNotOptimize(x);
    for (auto _ : state) {
        for (int i = 0; i < s_nRows2; ++i)
            for (int j = 0; j < s_nCols2; ++j) a[i][j] = x;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * s_nRows2 * s_nCols2);
}
BENCHMARK(BM_Plain2D_Write);

void BM_Matrix2D_Write(benchmark::State& state) {
    CBase1 base;
    CDfpMatrix a(s_nRows2, s_nCols2);
    CDfp x(3);
    benchmark::DoNotOptimize(x);
    for (auto _ : state) {
        for (int i = 1; i <= s_nRows2; ++i)
            for (int j = 1; j <= s_nCols2; ++j) a(i, j) = x;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * s_nRows2 * s_nCols2);
}
BENCHMARK(BM_Matrix2D_Write);

}  // namespace
