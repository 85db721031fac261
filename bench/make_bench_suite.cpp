// make_bench_suite: a large KOMA-R install directory for the whole-run benchmarks. Every
// catalogue tool and 20 OMF converters of 2 to 8 MiB each, 500 definition files; --scale K
// makes the tools K times as large and K times as many converters and definition files, so
// bytes and files both grow K-fold. The executables are slices of the machine's own x86-64
// programs (or noise, with --filler random) with version markers written into them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_support.hpp"
#include "versionlist/catalogue.hpp"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kConverters = 20;
constexpr std::size_t kDefinitions = 500;

constexpr const char* kUsage =
    "usage: make_bench_suite SUITE_DIR [--scale K] [--filler executables|random]\n";

// The bytes executables are cut from.
class Filler {
public:
    explicit Filler(bool executables) {
        if (executables) {
            pool_ = bench::Concatenate(
                bench::FindExecutables(bench::DefaultExecutableRoots(), 64 * kMiB, 16 * kMiB));
        }
        if (pool_.size() < kMiB) {
            pool_ = bench::NoiseBytes(64 * kMiB, 99);  // no executables here: noise instead
            executables_ = false;
        } else {
            executables_ = true;
        }
    }
    bool Executables() const { return executables_; }

    // size bytes made of 256 KiB slices taken from places the seed picks.
    std::string Make(std::size_t size, bench::Xorshift& random) const {
        constexpr std::size_t kSlice = 256 * 1024;
        std::string bytes;
        bytes.reserve(size);
        while (bytes.size() < size) {
            std::size_t take = std::min({kSlice, size - bytes.size(), pool_.size()});
            std::size_t from = random.Next() % (pool_.size() - take + 1);
            bytes.append(pool_, from, take);
        }
        return bytes;
    }

private:
    std::string pool_;
    bool executables_ = false;
};

// Writes s over image at offset, keeping the image's size.
void Overwrite(std::string& image, std::size_t offset, std::string_view s) {
    if (offset + s.size() <= image.size()) {
        image.replace(offset, s.size(), s);
    }
}

// An executable with its version markers, a what-string without the X (listed by what, not by
// the list) and a near miss, spread over the file.
std::string Executable(std::string_view name, std::size_t size, const Filler& filler,
                       bench::Xorshift& random) {
    std::string image = filler.Make(size, random);
    std::string stem(name.substr(0, name.find('.')));
    std::string markers[] = {
        std::string("@(#) X") + stem + " V" + std::to_string(1 + random.Next() % 9) + "." +
            std::to_string(10 + random.Next() % 90) + " (c)KOMA 1996",
        std::string("@(#) X") + stem + " runtime library V1.0" + '\0',
        std::string("@(#)") + stem + ".c\t1.4 96/03/12" + '\0',
        std::string("@(#) x") + stem + " is no marker" + '\0',
    };
    markers[0].push_back('\0');
    for (std::size_t i = 0; i < std::size(markers); ++i) {
        Overwrite(image, (i + 1) * size / (std::size(markers) + 1), markers[i]);
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::size_t scale = 1;
    bool executables = true;
    for (int i = 2; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            scale = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--filler" && i + 1 < argc) {
            std::string_view kind = argv[++i];
            if (kind != "executables" && kind != "random") {
                std::fputs(kUsage, stderr);
                return 2;
            }
            executables = kind == "executables";
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (scale < 1 || scale > 64) {
        std::fputs("make_bench_suite: --scale takes 1 to 64\n", stderr);
        return 2;
    }
    try {
        const fs::path suite = fs::absolute(argv[1]);
        fs::remove_all(suite);
        fs::create_directories(suite / "bin");
        fs::create_directories(suite / "gen");
        Filler filler(executables);
        bench::Xorshift random(2024);
        std::uint64_t executableBytes = 0;
        std::size_t executableCount = 0;
        auto writeExecutable = [&](const std::string& name, std::size_t size) {
            bench::WriteFileBytes(suite / "bin" / name, Executable(name, size, filler, random));
            executableBytes += size;
            ++executableCount;
        };

        std::set<std::string> tools;
        for (const auto& category : versionlist::ToolCatalogue) {
            for (auto tool : category.Tools) {
                if (!tool.empty()) {
                    tools.emplace(tool);
                }
            }
        }
        for (const auto& tool : tools) {
            writeExecutable(tool, random.Between(2 * kMiB, 8 * kMiB) * scale);
        }
        for (std::size_t i = 0; i < kConverters * scale; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "komf%03zu.exe", i);
            writeExecutable(name, random.Between(2 * kMiB, 8 * kMiB));
        }
        for (std::size_t i = 0; i < kDefinitions * scale; ++i) {
            std::size_t category = i % versionlist::kCategoryCount;
            bench::WriteFileBytes(
                suite / "gen" / bench::NumberedDefinitionName(category, i),
                bench::NumberedDefinition(category, i, random.Between(1024, 16384)));
        }
        std::printf("%s: %zu executables, %llu bytes (%s); %zu definition files\n",
                    suite.string().c_str(), executableCount,
                    static_cast<unsigned long long>(executableBytes),
                    filler.Executables() ? "slices of this machine's executables" : "noise",
                    kDefinitions * scale);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_bench_suite: %s\n", e.what());
        return 1;
    }
    return 0;
}
