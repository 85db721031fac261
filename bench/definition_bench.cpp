// The definition reader over 500 definition files: files per second, reads and bytes per file,
// against the bare open and close that any reader of those files pays.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_support.hpp"
#include "bench/registry.hpp"
#include "versionlist/catalogue.hpp"
#include "versionlist/definition_header.hpp"
#include "versionlist/readers.hpp"

namespace fs = std::filesystem;

namespace bench {
namespace {

constexpr std::size_t kDefinitionFiles = 500;

struct Definition {
    std::string name;
    std::size_t category;
};

// A gen directory of its own, removed when the process ends.
class GenDirectory {
public:
    GenDirectory() {
        std::string pattern = (fs::temp_directory_path() / "pelkor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        root_ = pattern;
        Xorshift random(5);
        for (std::size_t i = 0; i < kDefinitionFiles; ++i) {
            std::size_t category = i % versionlist::kCategoryCount;
            Definition definition{NumberedDefinitionName(category, i), category};
            // Bodies of 4 to 64 KiB: the reader must not care how long a file is.
            WriteFileBytes(root_ / definition.name,
                           NumberedDefinition(category, i, random.Between(4096, 65536)));
            files.push_back(definition);
        }
        dir = root_.string() + "/";
    }
    ~GenDirectory() {
        if (!root_.empty()) {
            std::error_code ec;
            fs::remove_all(root_, ec);
        }
    }
    GenDirectory(const GenDirectory&) = delete;
    GenDirectory& operator=(const GenDirectory&) = delete;

    std::string dir;
    std::vector<Definition> files;

private:
    fs::path root_;
};

GenDirectory& Gen() {
    static GenDirectory gen;
    return gen;
}

void ReadDefinitionHeaders(benchmark::State& state) {
    GenDirectory& gen = Gen();
    CountingFileSystem counting;
    NullListRun run;
    for (auto _ : state) {
        for (const auto& definition : gen.files) {
            versionlist::ReadDefinitionHeader(counting, run.Sink(), definition.name, gen.dir,
                                              definition.category);
        }
    }
    if (run.Failures() > 0) {
        state.SkipWithError("the reader reported a failure");
        return;
    }
    auto perFile = [&](long total) {
        return counting.opens > 0 ? static_cast<double>(total) / counting.opens : 0.0;
    };
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * gen.files.size()));
    state.counters["reads/file"] = perFile(counting.reads);
    state.counters["bytes_asked/file"] = perFile(counting.bytesAsked);
    state.counters["bytes_read/file"] = perFile(counting.bytesRead);
}

// The floor: opening and closing the same files, reading nothing.
void OpenClose(benchmark::State& state) {
    GenDirectory& gen = Gen();
    for (auto _ : state) {
        for (const auto& definition : gen.files) {
            auto file = platform::SystemFileSystem().OpenBinary(gen.dir + definition.name);
            benchmark::DoNotOptimize(file.get());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * gen.files.size()));
}

// Decoding the two fields from bytes already read, with no file access at all.
void DecodeFields(benchmark::State& state) {
    std::vector<std::pair<std::size_t, std::string>> headers;
    for (std::size_t i = 0; i < kDefinitionFiles; ++i) {
        std::size_t category = i % versionlist::kCategoryCount;
        headers.emplace_back(category, NumberedDefinition(category, i, 0));
    }
    for (auto _ : state) {
        for (const auto& [category, header] : headers) {
            auto field = versionlist::NameField(category);
            auto name = versionlist::DefinitionName(
                category, std::string_view(header).substr(field.offset, field.count));
            auto version = versionlist::DefinitionVersion(
                category, std::string_view(header).substr(versionlist::kVersionField.offset,
                                                          versionlist::kVersionField.count));
            benchmark::DoNotOptimize(name.data());
            benchmark::DoNotOptimize(version.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * headers.size()));
}

}  // namespace

void RegisterDefinitionBenchmarks(std::vector<RatioGoal>& goals) {
    benchmark::RegisterBenchmark("definitions/open_close", OpenClose);
    benchmark::RegisterBenchmark("definitions/ReadDefinitionHeader", ReadDefinitionHeaders);
    benchmark::RegisterBenchmark("definitions/decode_fields", DecodeFields);
    // Informational: what the two positioned reads add to the open and close of a file.
    goals.push_back({"definitions/ReadDefinitionHeader", "definitions/open_close", 0.0});
}

}  // namespace bench
