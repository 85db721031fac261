// POSIX paths: "/" between components, the current directory through getcwd and chdir.
#include "platform/paths.hpp"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

const char kPathSeparator = '/';

bool IsPathSeparator(char c) {
    return c == '/';
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    const std::string current = CurrentDirectory();
    if (current.empty()) {
        return path;
    }
    if (path.empty()) {
        return current;
    }
    return current.back() == '/' ? current + path : current + "/" + path;
}

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            return std::string(buffer.data());
        }
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool SetCurrentDirectory(const std::string& path) {
    return IsWholePath(path) && ::chdir(path.c_str()) == 0;
}

}  // namespace platform
