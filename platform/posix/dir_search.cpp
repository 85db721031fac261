// POSIX directory search with the case-insensitive wildcard matching of the suite's platform.
#include "platform/dir_search.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/paths.hpp"

namespace platform {
namespace {

// A directory that is not there is simply empty; one that is there and cannot be read is not.
bool IsAbsence(int error) {
    return error == ENOENT || error == ENOTDIR;
}

}  // namespace

SearchResult FindMatches(std::string_view pattern) {
    SearchResult result;
    const auto slash = pattern.rfind('/');
    const std::string directory = slash == std::string_view::npos
                                      ? std::string(".")
                                      : std::string(pattern.substr(0, slash + 1));
    const std::string_view last =
        slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
    if (last.empty()) {
        return result;
    }
    if (!IsWholePath(pattern)) {
        result.failed = true;
        return result;
    }
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        result.failed = !IsAbsence(errno);
        return result;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            result.failed = errno != 0;
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (WildcardMatch(last, name)) {
            result.names.emplace_back(name);
        }
    }
    ::closedir(dir);
    std::sort(result.names.begin(), result.names.end(), SearchOrderLess);
    return result;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return IsWholePath(path) && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
