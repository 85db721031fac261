// Directory search with "*" and "?" in the last path component, as the suite's platform does it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// True when name matches the wildcard pattern: "*" any run of characters, "?" one character,
// ASCII letters without regard to case, every other byte exactly.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// True when a and b are equal with ASCII letters compared without regard to case.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Names of the entries of the directory part of pattern whose names match its last
// component: every entry type, "." and ".." never. A pattern ending in the separator matches
// nothing. Sorted by name with ASCII letters folded to upper case, ties by bytes.
std::vector<std::string> FindMatches(std::string_view pattern);

// The order FindMatches yields.
bool SearchOrderLess(std::string_view a, std::string_view b);

}  // namespace platform
