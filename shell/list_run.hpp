// The desktop programs' only calls into the version list core: the run, the proposed install
// directory, the viewer's reading of the list and the message formatting.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.hpp"
#include "platform/message_presenter.hpp"

namespace shell {

// Shown by the list viewer when it cannot read the list back, with the list's path.
inline constexpr std::string_view kViewerOpenError = "temp file[%s] Open Error\n";

// How a run ended, as far as the desktop programs care.
enum class RunOutcome {
    kCreateFailed,  // the list file could not be created
    kWriteFailed,   // the list file is incomplete
    kNothingFound,  // written, but nothing of the suite was there
    kFound,         // written, with the suite's versions
};

// What a run leaves behind for the shell: its outcome and the list file it wrote.
struct ListRun {
    RunOutcome outcome = RunOutcome::kCreateFailed;
    std::string listPath;
};

// Writes the list for the install directory given as the directory field's text, creating it
// through fileSystem. The run shows its own messages, the not-found message included.
ListRun RunVersionList(std::string_view fieldText, platform::MessagePresenter& presenter,
                       platform::FileSystem& fileSystem);

// The install directory proposed at start-up, from the suite's settings file or the current
// directory.
std::string ProposedInstallDir();

// The list as the viewer shows it (UTF-8), from the bytes a text-mode read of it delivered.
std::string ListDisplayText(std::string_view textModeBytes);

// format with its "%s" replaced by path, as every message of the program is made.
std::string FormatMessage(std::string_view format, std::string_view path);

}  // namespace shell
