// What the tests of the shared shell code on every system use.
#pragma once

#include <string>
#include <vector>

#include "platform/paths.hpp"

namespace shell_test {

using Strings = std::vector<std::string>;

inline const std::string kSep(1, platform::kPathSeparator);

// Every test that moves the process puts it back where it was.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(platform::CurrentDirectory()) {}
    ~CurrentDirectoryGuard() { platform::SetCurrentDirectory(saved_); }
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::string saved_;
};

}  // namespace shell_test
