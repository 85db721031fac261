// The settings file on POSIX: looked for in $WINDIR, the user's and the system's configuration
// directories, and read line by line within fixed limits.
#include "platform/settings.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/dir_search.hpp"

namespace platform {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// The settings file opened for reading, only when it is a regular file; -1 otherwise. The
// type is checked before the open, so no device's driver runs, and on the descriptor again.
int OpenRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::string> FindSettingsFile(std::string_view name) {
    std::vector<std::string> directories;
    if (auto windir = Env("WINDIR"); !windir.empty()) {
        directories.push_back(windir);
    }
    if (auto xdg = Env("XDG_CONFIG_HOME"); !xdg.empty()) {
        directories.push_back(xdg);
    } else if (auto home = Env("HOME"); !home.empty()) {
        directories.push_back(home + "/.config");
    }
    directories.push_back("/etc");
    for (auto& directory : directories) {
        if (directory.back() != '/') {
            directory.push_back('/');
        }
        // The name is matched without regard to case, as on the suite's own platform; of
        // several spellings the first regular file in search order is taken.
        for (const auto& match : FindMatches(directory + std::string(name)).names) {
            if (IsRegularFile(directory + match)) {
                return directory + match;
            }
        }
    }
    return std::nullopt;
}

std::string ReadProfileString(std::string_view fileName, std::string_view section,
                              std::string_view key) {
    const auto path = FindSettingsFile(fileName);
    if (!path) {
        return {};
    }
    const int fd = OpenRegularFile(*path);
    if (fd < 0) {
        return {};
    }
    // Line by line through a fixed buffer: memory stays bounded whatever the file holds.
    ProfileReader reader(section, key);
    std::string line;
    std::vector<char> chunk(16 * 1024);
    std::size_t total = 0;
    bool found = false;
    while (!found && total < kSettingsReadLimit) {
        const ssize_t n =
            ::read(fd, chunk.data(), std::min(chunk.size(), kSettingsReadLimit - total));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        total += static_cast<std::size_t>(n);
        for (ssize_t i = 0; i < n && !found; ++i) {
            if (chunk[i] == '\n') {
                found = reader.TakeLine(line);
                line.clear();
            } else if (line.size() < kSettingsLineLimit) {
                line.push_back(chunk[i]);
            }
        }
    }
    if (!found && !line.empty()) {
        reader.TakeLine(line);
    }
    ::close(fd);
    return reader.Value();
}

}  // namespace platform
