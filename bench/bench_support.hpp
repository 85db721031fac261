// Inputs for the benchmarks and the large-suite generator: the machine's own x86-64
// executables, and the suite-file builders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/suite_files.hpp"

namespace bench {

// Suite files and filler bytes come from the one builder the tests and the demo use.
using testing_support::NoiseBytes;
using testing_support::NumberedDefinition;
using testing_support::NumberedDefinitionName;
using testing_support::WriteFileBytes;
using testing_support::Xorshift;

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

}  // namespace bench
