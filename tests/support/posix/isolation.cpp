// Child processes with their own mounts or user.
#include "support/posix/isolation.hpp"

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace testing_support {
namespace {

std::string Failure(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

IsolatedResult RunIsolated(const std::function<std::string()>& setup,
                           const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {false, Failure("pipe"), {}};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const auto send = [&](char tag, const std::string& text) {
            const std::string message = tag + text;
            (void)!::write(fds[1], message.data(), message.size());
            ::_exit(0);
        };
        if (const std::string why = setup(); !why.empty()) {
            send('N', why);
        }
        send('Y', body());
    }
    ::close(fds[1]);
    std::string reply;
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(fds[0], chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0) {
            reply.append(chunk, static_cast<std::size_t>(n));
        }
    }
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    if (reply.empty()) {
        return {false, "the child died", {}};
    }
    if (reply[0] != 'Y') {
        return {false, reply.substr(1), {}};
    }
    return {true, {}, reply.substr(1)};
}

std::string EnterPrivateMounts() {
    if (::unshare(CLONE_NEWNS) != 0) {
        return Failure("unshare(CLONE_NEWNS)");
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return Failure("making / private");
    }
    return {};
}

std::string MountReadOnly(const std::string& path) {
    if (::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
        ::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        return Failure("read-only bind mount of " + path);
    }
    return {};
}

std::string MountSmallTmpfs(const std::string& path, long sizeBytes) {
    const std::string options = "size=" + std::to_string(sizeBytes) + ",mode=0777";
    if (::mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        return Failure("tmpfs of " + std::to_string(sizeBytes) + " bytes at " + path);
    }
    return {};
}

std::string BecomeNobody() {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
        return Failure("becoming user 65534");
    }
    return {};
}

}  // namespace testing_support
