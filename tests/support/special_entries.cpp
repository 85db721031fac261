// Hostile-tree tools: special entries, the hooked file system, deep trees, child processes.
#include "hostile/hostile_support.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace hostile {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

class HookedInputFile final : public platform::InputFile {
public:
    HookedInputFile(std::unique_ptr<platform::InputFile> real, FileHooks hooks, ReadLog& log)
        : real_(std::move(real)), hooks_(std::move(hooks)), log_(log) {}

    long Read(char* buffer, std::size_t count) override {
        ++reads_;
        ++log_.reads;
        log_.largestRequest = std::max(log_.largestRequest, count);
        if (reads_ == hooks_.failReadNumber) {
            return -1;
        }
        long n = real_->Read(buffer, count);
        if (n > 0) {
            log_.delivered += n;
        }
        if (hooks_.afterRead) {
            hooks_.afterRead(reads_, n);
        }
        return n;
    }
    bool Seek(std::int64_t offset) override {
        ++seeks_;
        if (seeks_ == hooks_.failSeekNumber) {
            return false;
        }
        return real_->Seek(offset);
    }

private:
    std::unique_ptr<platform::InputFile> real_;
    FileHooks hooks_;
    ReadLog& log_;
    int reads_ = 0;
    int seeks_ = 0;
};

class HookedOutputFile final : public platform::OutputFile {
public:
    HookedOutputFile(std::unique_ptr<platform::OutputFile> real, std::int64_t limit, bool failClose)
        : real_(std::move(real)), limit_(limit), failClose_(failClose) {}

    bool Write(const char* data, std::size_t count) override {
        if (limit_ < 0) {
            return real_->Write(data, count);
        }
        // A disk that fills up: what fits is written, the rest is refused.
        auto room = static_cast<std::size_t>(limit_ - written_);
        std::size_t take = std::min(room, count);
        if (take > 0 && !real_->Write(data, take)) {
            return false;
        }
        written_ += static_cast<std::int64_t>(take);
        return take == count;
    }
    bool Close() override {
        bool closed = real_->Close();
        return closed && !failClose_;
    }

private:
    std::unique_ptr<platform::OutputFile> real_;
    std::int64_t limit_;
    std::int64_t written_ = 0;
    bool failClose_;
};

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

std::unique_ptr<platform::InputFile> HookedFileSystem::OpenBinary(const std::string& path) {
    FileHooks pathHooks;
    if (auto it = hooks.find(path); it != hooks.end()) {
        pathHooks = it->second;
    }
    if (pathHooks.beforeOpen) {
        pathHooks.beforeOpen();
    }
    if (pathHooks.failOpen) {
        return nullptr;
    }
    auto real = platform::SystemFileSystem().OpenBinary(path);
    if (!real) {
        return nullptr;
    }
    return std::make_unique<HookedInputFile>(std::move(real), std::move(pathHooks), readLogs[path]);
}

std::unique_ptr<platform::OutputFile> HookedFileSystem::Create(const std::string& path) {
    if (failCreate) {
        return nullptr;
    }
    auto real = platform::SystemFileSystem().Create(path);
    if (!real) {
        return nullptr;
    }
    return std::make_unique<HookedOutputFile>(std::move(real), writeLimit, failClose);
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

ProcessResult RunProcess(const std::vector<std::string>& argv, int timeoutSeconds,
                         const std::vector<std::string>& extraEnv) {
    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        Fail("pipe");
    }
    pid_t pid = ::fork();
    if (pid < 0) {
        Fail("fork");
    }
    if (pid == 0) {
        int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        for (const auto& assignment : extraEnv) {
            ::putenv(const_cast<char*>(assignment.c_str()));
        }
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);

    ProcessResult result;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                char chunk[4096];
                ssize_t n = ::read(fds[i].fd, chunk, sizeof chunk);
                if (n > 0) {
                    sinks[i]->append(chunk, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    for (auto& fd : fds) {
        if (fd.fd >= 0) {
            ::close(fd.fd);
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    return result;
}

std::string TextModeBytes(std::string_view bytes) {
    std::string stored;
    for (char c : bytes) {
        if (c == '\n') {
            stored.push_back('\r');
        }
        stored.push_back(c);
    }
    return stored;
}

}  // namespace hostile
