// Inputs for the benchmarks and the large-suite generator.
#include "bench/bench_support.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "versionlist/catalogue.hpp"

namespace fs = std::filesystem;

namespace bench {

std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    Xorshift random(seed);
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        std::uint32_t x = random.Next();
        for (int k = 0; k < 4; ++k) {
            bytes[i + k] = static_cast<char>(x >> (8 * k));
        }
    }
    for (; i < size; ++i) {
        bytes[i] = static_cast<char>(random.Next());
    }
    return bytes;
}

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

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string DefinitionFileName(std::size_t category, std::size_t number) {
    std::string_view pattern = versionlist::ToolCatalogue.at(category).DefinitionPattern;
    pattern.remove_prefix(1);  // the separator the run puts between directory and pattern
    std::array<char, 16> digits{};
    std::snprintf(digits.data(), digits.size(), "%05zu", number);
    std::string name(pattern);
    name.replace(name.find('*'), 1, digits.data());
    return name;
}

std::string DefinitionFile(std::size_t category, std::size_t number, std::size_t bodySize,
                           std::uint32_t seed) {
    std::string header(128, '\0');
    header.replace(0, 16, "KOMA DEFINITION ");
    std::array<char, 40> text{};
    if (category == versionlist::kKomaCategory) {
        // Name at 48, eight bytes ended by a blank; version digits at 56.
        std::snprintf(text.data(), text.size(), "SH%-6zu", number % 1000000);
        header.replace(48, 8, text.data(), 8);
        std::snprintf(text.data(), text.size(), "%02zu%02zu", 1 + number % 9, number % 100);
        header.replace(56, 4, text.data(), 4);
    } else {
        // NUL-terminated version at 56, name at 64 with a remark after an equals sign.
        std::snprintf(text.data(), text.size(), "V%zu.%02zu", 1 + number % 9, number % 100);
        header.replace(56, std::char_traits<char>::length(text.data()), text.data());
        std::snprintf(text.data(), text.size(), "== CPU%zu = set %zu", number, category);
        header.replace(64, std::min<std::size_t>(32, std::char_traits<char>::length(text.data())),
                       text.data());
    }
    return header + RandomBytes(bodySize, seed);
}

}  // namespace bench
