// The marker scanner against a bare memchr pass for "@" over the same bytes: in memory, and
// through reads of page-cached executables at several read sizes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.hpp"
#include "bench/registry.hpp"
#include "versionlist/marker_scanner.hpp"
#include "versionlist/readers.hpp"

namespace fs = std::filesystem;

namespace bench {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;
// Enough bytes to leave the caches behind, as a suite's executables do.
constexpr std::size_t kDataSize = 64 * kMiB;
// In-memory rows feed the scanner in pieces the size of the run's reads.
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kReadSizes[] = {260, 4096, 16384, 65536, 262144, 1048576};

// The reference: find every at sign, as the scanner's idle state must at the least.
std::size_t MemchrPass(const char* p, std::size_t size) {
    std::size_t found = 0;
    const char* end = p + size;
    while (p < end) {
        auto* at = static_cast<const char*>(std::memchr(p, '@', static_cast<std::size_t>(end - p)));
        if (at == nullptr) {
            break;
        }
        ++found;
        p = at + 1;
    }
    return found;
}

void InMemoryMemchr(benchmark::State& state, const std::string* data) {
    for (auto _ : state) {
        std::size_t found = 0;
        for (std::size_t at = 0; at < data->size(); at += kChunk) {
            found += MemchrPass(data->data() + at, std::min(kChunk, data->size() - at));
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data->size()));
}

void InMemoryScanner(benchmark::State& state, const std::string* data) {
    std::size_t markers = 0;
    for (auto _ : state) {
        versionlist::MarkerScanner scanner;
        for (std::size_t at = 0; at < data->size(); at += kChunk) {
            scanner.Feed(data->data() + at, std::min(kChunk, data->size() - at),
                         [&](std::string_view text) { markers += text.size(); });
        }
        benchmark::DoNotOptimize(markers);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data->size()));
}

struct FileSet {
    std::vector<std::string> paths;
    std::uint64_t bytes = 0;
};

// Reads every file in pieces of readSize through the run's own file access; startFile is called
// before each file's first piece, consume with each piece.
template <typename StartFile, typename Consume>
void ReadFiles(benchmark::State& state, const FileSet& files, std::size_t readSize,
               StartFile&& startFile, Consume&& consume) {
    std::vector<char> buffer(readSize);
    for (auto _ : state) {
        for (const auto& path : files.paths) {
            auto file = platform::SystemFileSystem().OpenBinary(path);
            if (!file) {
                state.SkipWithError(("cannot open " + path).c_str());
                return;
            }
            startFile();
            long count;
            while ((count = file->Read(buffer.data(), buffer.size())) > 0) {
                consume(buffer.data(), static_cast<std::size_t>(count));
            }
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * files.bytes));
}

void ReadMemchr(benchmark::State& state, const FileSet* files) {
    std::size_t found = 0;
    ReadFiles(
        state, *files, static_cast<std::size_t>(state.range(0)), [] {},
        [&](const char* p, std::size_t n) { found += MemchrPass(p, n); });
    benchmark::DoNotOptimize(found);
}

void ReadScanner(benchmark::State& state, const FileSet* files) {
    std::size_t markers = 0;
    versionlist::MarkerScanner scanner;
    ReadFiles(
        state, *files, static_cast<std::size_t>(state.range(0)),
        [&] { scanner = versionlist::MarkerScanner(); },
        [&](const char* p, std::size_t n) {
            scanner.Feed(p, n, [&](std::string_view text) { markers += text.size(); });
        });
    benchmark::DoNotOptimize(markers);
}

// The run's own reader, with its own read size, writing its lines to /dev/null.
void ScanVersionMarkers(benchmark::State& state, const FileSet* files) {
    CountingFileSystem counting;
    NullListRun run;
    std::vector<std::pair<std::string, std::string>> split;
    for (const auto& path : files->paths) {
        fs::path p(path);
        split.emplace_back(p.parent_path().string() + "/", p.filename().string());
    }
    for (auto _ : state) {
        for (const auto& [dir, name] : split) {
            versionlist::ScanVersionMarkers(counting, run.Sink(), dir, name);
        }
    }
    if (run.Failures() > 0) {
        state.SkipWithError("the scanner reported a failure");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * files->bytes));
    state.counters["bytes/read"] =
        counting.reads > 0 ? static_cast<double>(counting.bytesRead) / counting.reads : 0;
}

}  // namespace

void RegisterScannerBenchmarks(std::vector<RatioGoal>& goals) {
    // Built once and kept for the whole process: the benchmarks hold pointers to them.
    static const std::string random = NoiseBytes(kDataSize, 1);
    static const FileSet executables = [] {
        FileSet set;
        for (const auto& path : FindExecutables(DefaultExecutableRoots(), kDataSize, 16 * kMiB)) {
            std::error_code ec;
            set.bytes += fs::file_size(path, ec);
            set.paths.push_back(path.string());
        }
        return set;
    }();
    static const std::string executableBytes = [] {
        std::vector<fs::path> paths(executables.paths.begin(), executables.paths.end());
        return Concatenate(paths);
    }();

    struct Data {
        const char* name;
        const std::string* bytes;
    };
    for (const Data& data : {Data{"random", &random}, Data{"executables", &executableBytes}}) {
        if (data.bytes->empty()) {
            continue;  // no x86-64 executables on this machine
        }
        std::string memchrRow = std::string("memory/memchr/") + data.name;
        std::string scannerRow = std::string("memory/scanner/") + data.name;
        benchmark::RegisterBenchmark(memchrRow.c_str(), InMemoryMemchr, data.bytes);
        benchmark::RegisterBenchmark(scannerRow.c_str(), InMemoryScanner, data.bytes);
        goals.push_back({scannerRow, memchrRow, 0.5});
    }

    if (executables.paths.empty()) {
        return;
    }
    benchmark::RegisterBenchmark("read/memchr/executables", ReadMemchr, &executables)
        ->ArgName("read_size")
        ->Apply([](auto* b) {
            for (auto size : kReadSizes) {
                b->Arg(static_cast<std::int64_t>(size));
            }
        });
    benchmark::RegisterBenchmark("read/scanner/executables", ReadScanner, &executables)
        ->ArgName("read_size")
        ->Apply([](auto* b) {
            for (auto size : kReadSizes) {
                b->Arg(static_cast<std::int64_t>(size));
            }
        });
    for (auto size : kReadSizes) {
        std::string suffix = "/read_size:" + std::to_string(size);
        goals.push_back(
            {"read/scanner/executables" + suffix, "read/memchr/executables" + suffix, 0.5});
    }
    benchmark::RegisterBenchmark("ScanVersionMarkers/executables", ScanVersionMarkers,
                                 &executables);
    goals.push_back(
        {"ScanVersionMarkers/executables", "read/memchr/executables/read_size:65536", 0.5});
}

}  // namespace bench
