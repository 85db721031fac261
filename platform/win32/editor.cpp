// The editor on Windows: Notepad, started detached with the list's absolute path.
#include "platform/editor.hpp"

#include "platform/paths.hpp"
#include "platform/win32/wide.hpp"

namespace platform {
namespace {

// One argument in a command line as CommandLineToArgvW and the C runtime split it again:
// always quoted (so blanks and an empty argument survive, and Notepad, which takes the rest of
// its command line as one name, gets the path whole), backslashes doubled where they stand
// before a quotation mark, quotation marks escaped.
void AppendQuoted(std::wstring& line, std::wstring_view argument) {
    line.push_back(L'"');
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line.push_back(c);
    }
    line.append(backslashes * 2, L'\\');
    line.push_back(L'"');
}

bool HasDirectory(std::wstring_view name) {
    return name.find_first_of(L"\\/:") != std::wstring_view::npos;
}

// The program file a name stands for: itself when it names a directory, else the first of
// the system directory, the Windows directory and PATH that holds it (".exe" added when the
// name has no extension). Never the current or the program's own directory, where a file
// under the editor's name could have been put. Empty when none holds it.
std::wstring FindProgram(const std::wstring& name) {
    if (HasDirectory(name)) {
        return name;
    }
    const auto inDirectory = [&](const std::wstring& directory) {
        return win32::GrowingBuffer([&](wchar_t* buffer, DWORD size) {
            return ::SearchPathW(directory.c_str(), name.c_str(), L".exe", size, buffer, nullptr);
        });
    };
    const std::wstring system = win32::GrowingBuffer(
        [](wchar_t* buffer, UINT size) { return ::GetSystemDirectoryW(buffer, size); });
    const std::wstring windows = win32::GrowingBuffer(
        [](wchar_t* buffer, UINT size) { return ::GetWindowsDirectoryW(buffer, size); });
    for (const std::wstring& directory : {system, windows}) {
        if (!directory.empty()) {
            if (std::wstring found = inDirectory(directory); !found.empty()) {
                return found;
            }
        }
    }
    const std::wstring path = win32::GrowingBuffer([](wchar_t* buffer, DWORD size) {
        return ::GetEnvironmentVariableW(L"PATH", buffer, size);
    });
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find(L';', start);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        std::wstring directory = path.substr(start, end - start);
        if (directory.size() >= 2 && directory.front() == L'"' && directory.back() == L'"') {
            directory = directory.substr(1, directory.size() - 2);
        }
        if (!directory.empty()) {
            if (std::wstring found = inDirectory(directory); !found.empty()) {
                return found;
            }
        }
        start = end + 1;
    }
    return {};
}

class SystemEditor final : public EditorLauncher {
public:
    bool StartEditor(const std::string& path) override {
        return StartDetached(EditorCommand("", AbsolutePath(path)));
    }
};

}  // namespace

EditorLauncher& SystemEditorLauncher() {
    static SystemEditor editor;
    return editor;
}

std::vector<std::string> EditorCommand(std::string_view, const std::string& path) {
    return {"notepad", path};
}

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return false;
    }
    std::vector<std::wstring> wide(argv.size());
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (!win32::Widen(argv[i], wide[i])) {
            return false;  // the system would see less, or other, than was meant
        }
    }
    const std::wstring program = FindProgram(wide.front());
    const DWORD attributes = ::GetFileAttributesW(program.c_str());
    if (program.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    std::wstring commandLine;
    for (const auto& argument : wide) {
        if (!commandLine.empty()) {
            commandLine.push_back(L' ');
        }
        AppendQuoted(commandLine, argument);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    // No handles inherited, no console shared, a process group of its own: the program lives
    // on by itself, whatever becomes of this one.
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS | CREATE_UNICODE_ENVIRONMENT,
                          nullptr, nullptr, &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace platform
