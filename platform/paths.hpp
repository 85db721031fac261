// Paths as the system spells them, and the process's current directory.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The separator the system puts between path components: "/" here, "\" on Windows.
extern const char kPathSeparator;

// True for a byte that separates path components: "/"; on Windows "\" and "/".
bool IsPathSeparator(char c);

// True when the system would see all of path: a NUL byte would cut it short there, so a path
// holding one must never be handed to the system.
inline bool IsWholePath(std::string_view path) {
    return path.find('\0') == std::string_view::npos;
}

// path made absolute against the current directory, without resolving any component; an
// absolute path is returned unchanged, and so is any path when the current directory is
// unreadable.
std::string AbsolutePath(const std::string& path);

// The process's current directory, whole; empty when it cannot be read.
std::string CurrentDirectory();

// Makes path the process's current directory; false when it cannot be entered.
bool SetCurrentDirectory(const std::string& path);

}  // namespace platform
