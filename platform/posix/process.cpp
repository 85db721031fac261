// Process start-up on POSIX: the standard descriptors, and the half-written list on SIGTERM.
#include "platform/process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/posix/pending_file.hpp"

namespace platform {
namespace posix {
namespace {

std::atomic<const char*> pendingFile{nullptr};

// Only async-signal-safe calls: unlink, then the signal's default action.
void RemovePendingFileAndDie(int signal) {
    if (const char* path = pendingFile.exchange(nullptr)) {
        ::unlink(path);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

void RememberPendingFile(const char* path) {
    pendingFile.store(path);
}

void ForgetPendingFile() {
    pendingFile.store(nullptr);
}

}  // namespace posix

void PrepareProcess() {
    // A closed standard descriptor would be the first one the next open returns: the list
    // file would then take stderr's number and receive the program's messages.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            const int null = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (null >= 0 && null != fd) {
                ::dup2(null, fd);
                ::close(null);
            }
        }
    }
    // Signals that end a process politely; one ignored by whoever started us stays ignored.
    for (int signal : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            struct sigaction action {};
            action.sa_handler = posix::RemovePendingFileAndDie;
            sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
    }
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace platform
