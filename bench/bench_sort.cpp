// Index sort of 1,000,000 keys (the array sort of the language: qsort of an
// index through the published keys) beside std::stable_sort of the same
// keys, and of an index by the same keys: compare the "per_key" columns.
#include <velbra.h>
#include <velbra/Matrix.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

using namespace morka;

namespace {

constexpr int KEYS = 1000000;

std::vector<double> s_RandomNumbers() {
    std::mt19937 gen(42);
    std::uniform_real_distribution<double> dist(-1e6, 1e6);
    std::vector<double> a(KEYS);
    for (double& x : a) x = dist(gen);
    return a;
}

std::vector<CBString> s_RandomTexts() {
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> dist('a', 'z');
    std::vector<CBString> a(KEYS);
    for (CBString& s : a) {
        std::string t(8, ' ');
        for (char& c : t) c = static_cast<char>(dist(gen));
        s = CBString(t);
    }
    return a;
}

void s_PerKey(benchmark::State& state) {
    state.counters["per_key"] = benchmark::Counter(KEYS, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class TIndex, class TKeys>
void s_IndexSort(benchmark::State& state, TKeys& keys) {
    b_lArrayBase = 1;
    TIndex index(KEYS, 0);
    for (auto _ : state) {
        index.Sort(keys, 0, 0);
        benchmark::ClobberMemory();
    }
    s_PerKey(state);
}

template <class TIndex>
void s_IndexSortNumbers(benchmark::State& state) {
    auto a = s_RandomNumbers();
    b_lArrayBase = 1;
    CDfpMatrix keys(KEYS, 0);
    for (int i = 0; i < KEYS; ++i) keys.pData[i] = CDfp(a[static_cast<std::size_t>(i)]);
    s_IndexSort<TIndex>(state, keys);
}

void BM_IndexSort_NumberKeys_Int32Index(benchmark::State& state) { s_IndexSortNumbers<CInt32Matrix>(state); }
void BM_IndexSort_NumberKeys_NumberIndex(benchmark::State& state) { s_IndexSortNumbers<CDfpMatrix>(state); }

template <class TKey>
void s_StableSortKeys(benchmark::State& state, std::vector<TKey> const& keys) {
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<TKey> work = keys;
        state.ResumeTiming();
        std::stable_sort(work.begin(), work.end());
        benchmark::DoNotOptimize(work.data());
    }
    s_PerKey(state);
}

void BM_StableSort_NumberKeys(benchmark::State& state) {
    auto a = s_RandomNumbers();
    s_StableSortKeys(state, std::vector<CDfp>(a.begin(), a.end()));
}

void BM_StableSortIndex_NumberKeys(benchmark::State& state) {
    auto a = s_RandomNumbers();
    std::vector<CDfp> keys(a.begin(), a.end());
    std::vector<int> index(KEYS);
    for (auto _ : state) {
        for (int i = 0; i < KEYS; ++i) index[static_cast<std::size_t>(i)] = i;
        std::stable_sort(index.begin(), index.end(), [&](int x, int y) { return keys[static_cast<std::size_t>(x)] < keys[static_cast<std::size_t>(y)]; });
        benchmark::DoNotOptimize(index.data());
    }
    s_PerKey(state);
}

void BM_IndexSort_StringKeys_Int32Index(benchmark::State& state) {
    auto a = s_RandomTexts();
    b_lArrayBase = 1;
    CBStringMatrix keys(KEYS, 0);
    for (int i = 0; i < KEYS; ++i) keys.pData[i] = a[static_cast<std::size_t>(i)];
    s_IndexSort<CInt32Matrix>(state, keys);
}

void BM_StableSort_StringKeys(benchmark::State& state) { s_StableSortKeys(state, s_RandomTexts()); }

}  // namespace

BENCHMARK(BM_IndexSort_NumberKeys_Int32Index)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IndexSort_NumberKeys_NumberIndex)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StableSort_NumberKeys)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StableSortIndex_NumberKeys)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IndexSort_StringKeys_Int32Index)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StableSort_StringKeys)->Unit(benchmark::kMillisecond)->Iterations(5);
