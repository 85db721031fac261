// The test kit's system services on POSIX.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "support/system.hpp"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

std::string MakeScratchDirectory() {
    std::string templ = (fs::temp_directory_path() / "pelkor-test-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) {
        Fail("mkdtemp");
    }
    return templ;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

std::vector<std::string> DirectoryEntries(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

void RemoveTree(const std::string& path) {
    std::error_code ec;
    // Restore permissions that a test may have taken away, so the tree can be removed. Links
    // are left alone: their targets may lie outside the tree.
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
    fs::remove_all(path, ec);
}

// File names are bytes here; the program's strings are taken as they are.
fs::path FsPath(std::string_view utf8) {
    return fs::path(std::string(utf8));
}

std::string Utf8Path(const fs::path& path) {
    return path.string();
}

void MakeSparseFile(const std::string& path, std::int64_t size,
                    const std::vector<std::pair<std::int64_t, std::string>>& pieces) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        Fail("open " + path);
    }
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        ::close(fd);
        Fail("ftruncate " + path);
    }
    for (const auto& [offset, bytes] : pieces) {
        if (::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) !=
            static_cast<ssize_t>(bytes.size())) {
            ::close(fd);
            Fail("pwrite " + path);
        }
    }
    ::close(fd);
}

long PeakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace testing_support
