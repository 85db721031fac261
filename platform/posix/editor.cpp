// The editor on POSIX: $PELKOR_EDITOR or xdg-open, started in a session of its own.
#include "platform/editor.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/paths.hpp"

extern char** environ;

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The program file argv[0] names: itself when it holds a slash, else the first executable
// file of that name in PATH (an empty PATH entry is the current directory).
std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return IsExecutableFile(name) ? name : std::string();
    }
    const char* pathVariable = std::getenv("PATH");
    std::string_view search = pathVariable != nullptr ? pathVariable : "/usr/bin:/bin";
    while (true) {
        const auto colon = search.find(':');
        const std::string dir(search.substr(0, colon));
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        search.remove_prefix(colon + 1);
    }
}

class SystemEditor final : public EditorLauncher {
public:
    bool StartEditor(const std::string& path) override {
        // A relative path such as "-x/version.lis" or "+cmd/version.lis" would reach the
        // editor as an option; an absolute one begins with "/".
        const char* variable = std::getenv("PELKOR_EDITOR");
        return StartDetached(
            EditorCommand(variable != nullptr ? variable : "", AbsolutePath(path)));
    }
};

}  // namespace

EditorLauncher& SystemEditorLauncher() {
    static SystemEditor editor;
    return editor;
}

std::vector<std::string> EditorCommand(std::string_view editorVariable, const std::string& path) {
    std::vector<std::string> argv = SplitCommandWords(editorVariable);
    if (argv.empty()) {
        argv.push_back("xdg-open");
    }
    argv.push_back(path);
    return argv;
}

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return false;
    }
    for (const auto& arg : argv) {
        if (!IsWholePath(arg)) {
            return false;  // the system would see less than was meant
        }
    }
    // Everything the children need is made before fork, so they only call what is safe
    // between fork and exec in a process that has threads.
    const std::string program = FindProgram(argv.front());
    if (program.empty()) {
        return false;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    // The middle child starts the editor in a session of its own and ends at once; the
    // editor becomes init's child, so no one here ever waits for it or leaves a zombie.
    const pid_t middle = ::fork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        ::setsid();
        const pid_t editor = ::fork();
        if (editor == 0) {
            ::execve(program.c_str(), args.data(), environ);
            ::_exit(127);
        }
        ::_exit(editor < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
