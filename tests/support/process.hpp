// Programs run as real child processes: their output, exit status, and a hand on them while
// they run.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testing_support {

struct ProcessOptions {
    // NAME=value assignments added to the environment.
    std::vector<std::string> extraEnv;
    // The child starts here; empty: where the test runs.
    std::string workingDirectory;
    // Killed after this many seconds, so that no test can hang.
    int timeoutSeconds = 30;
    // Descriptors the child starts with closed.
    bool closeStdout = false;
    bool closeStderr = false;
    // When not negative, the child's stderr is this descriptor instead of a pipe the runner
    // reads.
    int stderrFd = -1;
    // The child's stdout is a terminal (a pseudo-terminal in raw mode, so bytes pass as they
    // are) instead of a pipe.
    bool stdoutIsTerminal = false;
};

struct ProcessResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    int signal = 0;       // the signal that ended it, if one did
    bool timedOut = false;
    std::string out;
    std::string err;
};

// A program started with stdin on /dev/null and stdout and stderr read by the runner.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    void Kill(int signal);
    // Reads its output until it ends (or the timeout kills it) and reaps it.
    ProcessResult Wait();

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int timeoutSeconds_;
    bool waited_ = false;
};

inline ProcessResult RunProcess(const std::vector<std::string>& argv,
                                const ProcessOptions& options = {}) {
    return ChildProcess(argv, options).Wait();
}

}  // namespace testing_support
