// Files of a KOMA-R install directory, made from nothing: tool executables with version
// markers, definition files in both header layouts, deterministic filler. The tests, the demo
// suite and the benchmark suite all build their files here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace testing_support {

// xorshift32: the same numbers on every machine for the same seed.
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

// size bytes of noise: every byte value, at signs and NULs included, like machine code.
std::string NoiseBytes(std::size_t size, std::uint32_t seed);

// Noise without a single at sign, so no marker can begin in it by chance.
std::string QuietBytes(std::size_t size, std::uint32_t seed);

// A version marker as executables carry it: "@(#) ", the text, a NUL.
std::string MarkerBytes(std::string_view text);

// A tool executable holding the given marker texts between quiet filler bytes.
std::string ToolImage(std::initializer_list<std::string_view> markers);

// A tool executable of noise with the given marker texts, and around them the near misses a
// scanner must pass over: a prefix without its blank, and one with a small x.
std::string NoisyToolImage(std::initializer_list<std::string_view> markers, std::uint32_t seed);

// Definition files with the given fields at their offsets, padded to at least 128 bytes.
// The ＫＯＭＡ－Ｒ layout: the name at 48 (8 bytes), the version's four digits at 56.
std::string KomaDefinition(std::string_view nameField8, std::string_view versionDigits);
// The other layout: the NUL-terminated version at 56 (8 bytes), the name at 64 (32 bytes).
std::string OtherDefinition(std::string_view versionField, std::string_view nameField32);

// Definition file number of category, with a header in the category's layout and bodySize
// bytes of noise after it, and its name matching the category's definition pattern.
std::string NumberedDefinition(std::size_t category, std::size_t number, std::size_t bodySize);
std::string NumberedDefinitionName(std::size_t category, std::size_t number);

// Writes bytes to path, replacing the file; throws std::runtime_error on failure.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace testing_support
