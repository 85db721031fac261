// What the test kit needs of the system it runs on: a scratch directory, environment
// variables, paths as the standard library takes them, sparse files and memory use. Each
// system implements these in its own folder (posix/, win32/).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testing_support {

// A new, empty directory of the test's own under the system's directory for temporary files.
std::string MakeScratchDirectory();

// The environment variable's value; none when it is not set.
std::optional<std::string> EnvironmentValue(const std::string& name);
// Sets the variable, or removes it when value is none.
void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value);

// The names in a directory, "." and ".." left out; any length of path.
std::vector<std::string> DirectoryEntries(const std::string& path);

// Removes a scratch tree whatever a test left in it: entries without write permission (on
// Windows read-only ones), links (removed, never followed), paths of any length.
void RemoveTree(const std::string& path);

// A path the program holds (UTF-8) as std::filesystem takes it, and back. (On Windows the
// runtime behind std::filesystem lists directories through MAX_PATH buffers: for directory
// listings and removal, use the functions above.)
std::filesystem::path FsPath(std::string_view utf8);
std::string Utf8Path(const std::filesystem::path& path);

// A sparse file of size bytes holding the given pieces at their offsets.
void MakeSparseFile(const std::string& path, std::int64_t size,
                    const std::vector<std::pair<std::int64_t, std::string>>& pieces);

// Peak memory of this process so far, in KiB (resident set; on Windows the working set).
long PeakResidentKiB();

}  // namespace testing_support
