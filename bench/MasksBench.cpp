#include "base/Masks.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr const char* Filter = "*.htm; *.html; *.php; index*.??p; [a-m]*.txt; README*";

std::vector<std::string> Names() {
    constexpr const char* extensions[] = {".html", ".txt", ".tar.gz", ".jpg", ".php", ".HTM", ""};
    constexpr const char* stems[] = {"index",    "readme",
                                     "Makefile", "photo_2001_03_15",
                                     "notes",    "très-long-nom-de-fichier-avec-accents"};
    std::vector<std::string> names;
    names.reserve(100'000);
    for (int i = 0; i < 100'000; ++i) {
        names.push_back(std::string(stems[i % 6]) + std::to_string(i) + extensions[i % 7]);
    }
    return names;
}

void BM_SetMasks(benchmark::State& state) {
    qx::TMasks masks;
    for (auto _ : state) {
        masks.SetMasks(Filter);
        benchmark::DoNotOptimize(masks.Count());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_MatchNames(benchmark::State& state) {
    const std::vector<std::string> names = Names();
    const qx::TMasks masks(Filter);
    for (auto _ : state) {
        int matched = 0;
        for (const auto& name : names) {
            matched += masks.Matches(name) ? 1 : 0;
        }
        benchmark::DoNotOptimize(matched);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}

} // namespace

BENCHMARK(BM_SetMasks);
BENCHMARK(BM_MatchNames)->Unit(benchmark::kMillisecond);
