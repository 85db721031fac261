// Inputs for the benchmarks and the large-suite generator.
#include "bench/bench_support.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace bench {

bool IsX8664Executable(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 20> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) {
        return false;
    }
    // ELF magic, 64-bit class, little endian, machine 62 (x86-64).
    return header[0] == 0x7F && header[1] == 'E' && header[2] == 'L' && header[3] == 'F' &&
           header[4] == 2 && header[5] == 1 && header[18] == 62 && header[19] == 0;
}

std::vector<fs::path> DefaultExecutableRoots() {
    return {"/usr/bin", "/usr/lib"};
}

std::vector<fs::path> FindExecutables(const std::vector<fs::path>& roots, std::uint64_t budget,
                                      std::uint64_t maxFile) {
    std::vector<fs::path> candidates;
    for (const auto& root : roots) {
        std::error_code ec;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied,
                                            ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            std::error_code sc;
            // Symbolic links are skipped: the same file would otherwise count twice.
            if (it->is_regular_file(sc) && !it->is_symlink(sc)) {
                candidates.push_back(it->path());
            }
        }
    }
    std::sort(candidates.begin(), candidates.end());
    std::vector<fs::path> chosen;
    std::uint64_t total = 0;
    for (const auto& path : candidates) {
        if (total >= budget) {
            break;
        }
        std::error_code ec;
        auto size = fs::file_size(path, ec);
        if (ec || size == 0 || size > maxFile || !IsX8664Executable(path)) {
            continue;
        }
        chosen.push_back(path);
        total += size;
    }
    return chosen;
}

std::string Concatenate(const std::vector<fs::path>& files) {
    std::string bytes;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) {
            continue;
        }
        bytes += content;
    }
    return bytes;
}

}  // namespace bench
