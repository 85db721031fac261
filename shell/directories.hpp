// The process's current directory and a directory's subdirectories, as the file system's
// bytes, whatever they are.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace shell {

// The separator of the platform's paths.
inline constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Makes dir the process's current directory; false, and nothing changed, when it cannot be
// entered.
bool EnterDirectory(const std::string& dir);

// The process's current directory; empty when it cannot be read.
std::string CurrentDirectory();

// The names of dir's subdirectories (hidden ones included, "." and ".." never) in the
// directory search's order; none when dir cannot be read.
std::vector<std::string> Subdirectories(const std::string& dir);

}  // namespace shell
