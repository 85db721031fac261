// Child processes through fork and exec.
#include "support/process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace testing_support {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

struct ChildProcess::State {
    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    int timeoutSeconds = 30;
    bool waited = false;
};

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
    : state_(std::make_unique<State>()) {
    state_->timeoutSeconds = options.timeoutSeconds;
    pid_t& pid = state_->pid;
    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        Fail("pipe");
    }
    if (options.stdoutIsTerminal) {
        // The terminal's master side takes the place of the pipe's reading end.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
            Fail("posix_openpt");
        }
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0) {
            Fail("open pts");
        }
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        outPipe[0] = master;
        outPipe[1] = slave;
    }
    // Everything the child needs is made before fork.
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid = ::fork();
    if (pid < 0) {
        Fail("fork");
    }
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::dup2(outPipe[1], 1);
        ::dup2(options.stderrFd >= 0 ? options.stderrFd : errPipe[1], 2);
        if (options.closeStdout) {
            ::close(1);
        }
        if (options.closeStderr) {
            ::close(2);
        }
        for (const auto& assignment : options.extraEnv) {
            ::putenv(const_cast<char*>(assignment.c_str()));
        }
        if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0) {
            ::_exit(126);
        }
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    state_->outFd = outPipe[0];
    state_->errFd = errPipe[0];
}

ChildProcess::~ChildProcess() {
    if (!state_->waited) {
        Kill(SIGKILL);
        Wait();
    }
}

void ChildProcess::Kill(int signal) {
    ::kill(state_->pid, signal);
}

ProcessResult ChildProcess::Wait() {
    ProcessResult result;
    state_->waited = true;
    const pid_t pid = state_->pid;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(state_->timeoutSeconds);
    pollfd fds[2] = {{state_->outFd, POLLIN, 0}, {state_->errFd, POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
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
                const ssize_t n = ::read(fds[i].fd, chunk, sizeof chunk);
                if (n > 0) {
                    sinks[i]->append(chunk, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {  // a terminal's end is EIO
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
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

}  // namespace testing_support
