// Directory search with "*" and "?" in the last path component, as the suite's platform does it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct SearchResult {
    // Names of the matching entries, as stored on disk.
    std::vector<std::string> names;
    // The directory exists but could not be searched (no permission, an I/O error), so names
    // may lack entries that are there. A directory that does not exist is no failure.
    bool failed = false;
};

// The entries of the directory part of pattern whose names match its last component: every
// entry type, "." and ".." never. A pattern ending in a separator matches nothing. Here the
// order is SearchOrderLess; on Windows it is the file system's own.
SearchResult FindMatches(std::string_view pattern);

// True when path names a regular file, following links.
bool IsRegularFile(const std::string& path);

// True when name matches the wildcard pattern: "*" any run of characters, "?" one character,
// ASCII letters without regard to case, every other byte exactly.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// True when a and b are equal with ASCII letters compared without regard to case.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// The order of a case-insensitive file system's directory: names with ASCII letters folded to
// upper case, ties broken by bytes.
bool SearchOrderLess(std::string_view a, std::string_view b);

}  // namespace platform
