// Inputs for the benchmarks and the large-suite generator: deterministic bytes, the machine's
// own x86-64 executables, and suite files with version markers and definition headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// xorshift32: the same bytes on every machine for the same seed.
class Xorshift {
public:
    explicit Xorshift(std::uint32_t seed) : x_(seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        x_ ^= x_ << 13;
        x_ ^= x_ >> 17;
        x_ ^= x_ << 5;
        return x_;
    }
    // A value in [low, high].
    std::size_t Between(std::size_t low, std::size_t high) {
        return low + Next() % (high - low + 1);
    }

private:
    std::uint32_t x_;
};

// size bytes of uniform noise: every byte value, at signs and NULs included.
std::string RandomBytes(std::size_t size, std::uint32_t seed);

// True when the file starts with an ELF header for 64-bit x86.
bool IsX8664Executable(const std::filesystem::path& path);

// Regular x86-64 ELF files under the roots, in name order, until their sizes add up to at
// least budget bytes; files larger than maxFile are passed over so that no single file
// dominates the mix.
std::vector<std::filesystem::path> FindExecutables(const std::vector<std::filesystem::path>& roots,
                                                   std::uint64_t budget, std::uint64_t maxFile);

// The default roots: /usr/bin and /usr/lib.
std::vector<std::filesystem::path> DefaultExecutableRoots();

// The files' bytes, one after the other; an unreadable file is skipped.
std::string Concatenate(const std::vector<std::filesystem::path>& files);

// Writes bytes to path, replacing the file; throws std::runtime_error on failure.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// A definition file of the given category: the header fields in the category's layout, then
// bodySize bytes of noise the reader must never touch.
std::string DefinitionFile(std::size_t category, std::size_t number, std::size_t bodySize,
                           std::uint32_t seed);

// The file name of definition file number in category, matching its definition pattern.
std::string DefinitionFileName(std::size_t category, std::size_t number);

}  // namespace bench
