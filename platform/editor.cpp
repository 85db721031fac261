// Starting the text editor on the list file: detached, never waited for.
#include "platform/editor.hpp"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;
#endif

namespace platform {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

class SystemEditor final : public EditorLauncher {
public:
    bool StartEditor(const std::string& path) override {
#ifdef _WIN32
        // The path is not quoted: the editor takes the rest of its command line as the name.
        std::string command = "notepad " + path;
        return WinExec(command.c_str(), SW_SHOW) > 31;
#else
        const char* variable = std::getenv("PELKOR_EDITOR");
        return StartDetached(EditorCommand(variable != nullptr ? variable : "", path));
#endif
    }
};

#ifndef _WIN32
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
        auto colon = search.find(':');
        std::string dir(search.substr(0, colon));
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        search.remove_prefix(colon + 1);
    }
}
#endif

}  // namespace

EditorLauncher& SystemEditorLauncher() {
    static SystemEditor editor;
    return editor;
}

std::vector<std::string> SplitCommandWords(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        char c = command[i];
        if (IsSeparator(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\'') {
            auto end = command.find('\'', i + 1);
            word.append(command.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
            i = end == std::string_view::npos ? command.size() : end;
        } else if (c == '"') {
            for (++i; i < command.size() && command[i] != '"'; ++i) {
                if (command[i] == '\\' && i + 1 < command.size() &&
                    std::string_view("$`\"\\\n").find(command[i + 1]) != std::string_view::npos) {
                    ++i;
                }
                word.push_back(command[i]);
            }
        } else if (c == '\\') {
            if (i + 1 < command.size()) {
                word.push_back(command[++i]);
            }
        } else {
            word.push_back(c);
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
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
#ifdef _WIN32
    (void)argv;
    return false;
#else
    if (argv.empty()) {
        return false;
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
    pid_t middle = ::fork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        ::setsid();
        pid_t editor = ::fork();
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
#endif
}

}  // namespace platform
