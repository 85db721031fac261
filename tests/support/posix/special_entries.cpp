// Special directory entries, sparse files and deep trees.
#include "support/posix/special_entries.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace testing_support {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

// Removes everything below the directory open as fd.
void RemoveContents(int fd) {
    int dupFd = ::dup(fd);
    DIR* dir = ::fdopendir(dupFd);
    if (dir == nullptr) {
        ::close(dupFd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    for (const auto& name : names) {
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
            int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (sub >= 0) {
                RemoveContents(sub);
                ::close(sub);
            }
            ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
        } else {
            ::unlinkat(fd, name.c_str(), 0);
        }
    }
}

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) {
            Fail("write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace

void MakeFifo(const std::string& path) {
    if (::mkfifo(path.c_str(), 0644) != 0) {
        Fail("mkfifo " + path);
    }
}

bool MakeNullDevice(const std::string& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
}

void MakeSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        throw std::runtime_error("socket path too long: " + path);
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        Fail("socket");
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        Fail("bind " + path);
    }
    ::close(fd);
}

DeepDir::DeepDir(const std::string& base, std::size_t minLength) : base_(base), path_(base) {
    int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        Fail("open " + base);
    }
    while (path_.size() < minLength) {
        // Components near the longest name a directory entry may have; the last one is cut
        // so that the whole path is exactly minLength bytes long.
        std::size_t room = minLength - path_.size() - 1;
        std::string name(std::max<std::size_t>(1, std::min<std::size_t>(room, 240)), 'd');
        if (::mkdirat(fd, name.c_str(), 0755) != 0) {
            ::close(fd);
            Fail("mkdirat");
        }
        int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (sub < 0) {
            Fail("openat");
        }
        fd = sub;
        components_.push_back(name);
        path_ += "/" + name;
    }
    leafFd_ = fd;
}

DeepDir::~DeepDir() {
    RemoveContents(leafFd_);
    ::close(leafFd_);
    // Walk down again from the base, then remove the chain from its bottom up.
    std::vector<int> fds;
    fds.push_back(::open(base_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; i + 1 < components_.size() && fds.back() >= 0; ++i) {
        fds.push_back(
            ::openat(fds.back(), components_[i].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    for (std::size_t i = fds.size(); i-- > 0;) {
        if (fds[i] >= 0) {
            ::unlinkat(fds[i], components_[i].c_str(), AT_REMOVEDIR);
            ::close(fds[i]);
        }
    }
}

void DeepDir::MakeDir(std::string_view name) const {
    if (::mkdirat(leafFd_, std::string(name).c_str(), 0755) != 0 && errno != EEXIST) {
        Fail("mkdirat");
    }
}

void DeepDir::WriteFile(std::string_view relative, std::string_view bytes) const {
    int dirFd = leafFd_;
    std::string name(relative);
    if (auto slash = relative.find('/'); slash != std::string_view::npos) {
        MakeDir(relative.substr(0, slash));
        dirFd = ::openat(leafFd_, std::string(relative.substr(0, slash)).c_str(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0) {
            Fail("openat");
        }
        name = relative.substr(slash + 1);
    }
    int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (dirFd != leafFd_) {
        ::close(dirFd);
    }
    if (fd < 0) {
        Fail("openat " + name);
    }
    WriteAll(fd, bytes);
    ::close(fd);
}

}  // namespace testing_support
