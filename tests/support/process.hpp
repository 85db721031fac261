// Programs run as real child processes: their output, exit status, and a hand on them while
// they run.
#pragma once

#include <memory>
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
    // Standard streams the child starts without (closed descriptors; on Windows no handle).
    bool closeStdout = false;
    bool closeStderr = false;
    // POSIX: when not negative, the child's stderr is this descriptor instead of a pipe the
    // runner reads.
    int stderrFd = -1;
    // Windows: the child's stderr is a pipe that is full and never read, so that the child
    // stops at its first message until it is killed. (POSIX tests do this with stderrFd.)
    bool holdStderr = false;
    // POSIX: the child's stdout is a terminal (a pseudo-terminal in raw mode, so bytes pass as
    // they are) instead of a pipe.
    bool stdoutIsTerminal = false;
};

struct ProcessResult {
    int exitStatus = -1;  // -1 when it did not exit normally (POSIX) or timed out
    int signal = 0;       // POSIX: the signal that ended it, if one did
    bool timedOut = false;
    std::string out;
    std::string err;
};

// A program started with stdin on the null device and stdout and stderr read by the runner.
// argv[0] is the program's path; the arguments reach it as they are (on Windows quoted for
// the command line, so that it splits them back as given).
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // POSIX: sends the signal. Windows: ends the process at once (exit status 128 + signal).
    void Kill(int signal);
    // Reads its output until it ends (or the timeout kills it) and reaps it.
    ProcessResult Wait();

private:
    struct State;
    std::unique_ptr<State> state_;
};

inline ProcessResult RunProcess(const std::vector<std::string>& argv,
                                const ProcessOptions& options = {}) {
    return ChildProcess(argv, options).Wait();
}

}  // namespace testing_support
