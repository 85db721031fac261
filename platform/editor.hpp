// Starting the text editor on the list file: detached, never waited for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Starts the editor on a file; tests put a recorder in its place.
class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    // Starts the editor with path and returns at once; false when it could not be started.
    virtual bool StartEditor(const std::string& path) = 0;
};

// The system's editor, given the file's absolute path so that no file name can pass for an
// option: here the command in $PELKOR_EDITOR (split into words, the path appended as the last
// argument), else xdg-open; on Windows Notepad.
EditorLauncher& SystemEditorLauncher();

// The words of a command as a POSIX shell splits a simple command: blanks, tabs and line
// feeds separate words; single quotes keep everything literally; double quotes keep
// everything but a backslash before $, `, ", \ or a line feed; a backslash outside quotes
// keeps the next character. An unclosed quote runs to the end of the text.
std::vector<std::string> SplitCommandWords(std::string_view command);

// The argument vector that opens path in the system's editor, editorVariable standing for
// $PELKOR_EDITOR (empty or blank: xdg-open). On Windows: "notepad" and the path.
std::vector<std::string> EditorCommand(std::string_view editorVariable, const std::string& path);

// Starts argv[0] (looked up in PATH when it names no directory) with the arguments argv,
// detached: the caller never waits for it, and no child is left for it to reap. False when
// the program cannot be found or the process cannot be created.
bool StartDetached(const std::vector<std::string>& argv);

}  // namespace platform
