#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int Lines = 1'000'000;
constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* Extensions[] = {".txt", ".html", ".tar.gz", ".jpg", ".c", ""};

// A Unix listing as servers send it: mostly files, some folders and links, times and years.
std::string UnixListing() {
    std::string listing = "total 123456\r\n";
    char line[256];
    for (int i = 0; i < Lines; ++i) {
        const char* month = Months[i % 12];
        const int day = 1 + i % 28;
        if (i % 10 == 0) {
            std::snprintf(
                line, sizeof line,
                "drwxr-xr-x   2 owner    group        4096 %s %2d %02d:%02d folder%07d\r\n", month,
                day, i % 24, i % 60, i);
        } else if (i % 50 == 1) {
            std::snprintf(line, sizeof line,
                          "lrwxrwxrwx   1 root     root           11 %s %2d  1999 link%07d -> "
                          "target%07d\r\n",
                          month, day, i, i);
        } else {
            std::snprintf(line, sizeof line,
                          "-rw-r--r--   1 owner    group    %8d %s %2d %02d:%02d file%07d%s\r\n",
                          i * 37 % 10'000'000, month, day, i % 24, i % 60, i, Extensions[i % 6]);
        }
        listing += line;
    }
    return listing;
}

std::string DosListing() {
    std::string listing;
    char line[256];
    for (int i = 0; i < Lines; ++i) {
        const int month = 1 + i % 12;
        const int day = 1 + i % 28;
        const char* half = i % 2 == 0 ? "AM" : "PM";
        if (i % 10 == 0) {
            std::snprintf(line, sizeof line,
                          "%02d-%02d-%02d  %02d:%02d%s       <DIR>          dir%07d\r\n", month,
                          day, i % 100, 1 + i % 12, i % 60, half, i);
        } else {
            std::snprintf(
                line, sizeof line, "%02d-%02d-%02d  %02d:%02d%s       %14d file%07d%s\r\n", month,
                day, i % 100, 1 + i % 12, i % 60, half, i * 37 % 10'000'000, i, Extensions[i % 6]);
        }
        listing += line;
    }
    return listing;
}

void Decode(benchmark::State& state, const std::string& listing) {
    const qx::TShellIcons icons(false);
    const qx::TListDecodeContext context{.Icons = &icons, .CurrentYear = 2001};
    for (auto _ : state) {
        qx::TFTPListItems list;
        qx::DecodeListing(listing, list, context);
        benchmark::DoNotOptimize(list.Count());
        state.PauseTiming();
        list.Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Lines);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(listing.size()));
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * Lines,
                                                   benchmark::Counter::kIsRate);
}

void BM_DecodeUnixListing(benchmark::State& state) {
    static const std::string listing = UnixListing();
    Decode(state, listing);
}

void BM_DecodeDosListing(benchmark::State& state) {
    static const std::string listing = DosListing();
    Decode(state, listing);
}

} // namespace

BENCHMARK(BM_DecodeUnixListing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeDosListing)->Unit(benchmark::kMillisecond)->UseRealTime();
