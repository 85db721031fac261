// pelkor-list: writes the KOMA-R version list from the command line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/json_report.hpp"
#include "cli/terminal_text.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "platform/process.hpp"
#include "versionlist/list_file.hpp"
#include "versionlist/report.hpp"
#include "versionlist/version_list.hpp"

namespace {

constexpr std::string_view kProgram = "pelkor-list";

enum ExitStatus {
    kExitFound = 0,
    kExitNothingFound = 1,
    kExitFailure = 2,
    kExitReadFailures = 3,
};

constexpr std::string_view kUsage =
    "Usage: pelkor-list [--print | --json] [INSTALL_DIR]\n"
    "Write INSTALL_DIR/version.lis, the version list of the KOMA-R suite installed there.\n"
    "Without INSTALL_DIR the install directory is taken from the suite's settings file\n"
    "rivazivu.ini (section SYSTEM, HOME or PATH), else the current directory is used.\n"
    "\n"
    "  --print    also write the list to standard output (UTF-8, LF line ends)\n"
    "  --json     write a JSON report of the run to standard output\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 list written; 1 list written, nothing of the suite found;\n"
    "2 usage error, or the list could not be created or written;\n"
    "3 list written, but some suite file or directory could not be read.\n";

// Messages go to stderr, one line each.
class StderrPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view text) override {
        platform::WriteText(platform::StandardStream::kError, cli::MessageLine(kProgram, text));
    }
};

int Usage(std::string_view problem) {
    platform::WriteText(platform::StandardStream::kError,
                        std::string(kProgram) + ": " + std::string(problem) +
                            "\nTry 'pelkor-list --help' for more information.\n");
    return kExitFailure;
}

// The list as a reader sees it: read back as text, decoded, one LF per line; on a terminal
// with its control characters shown, not obeyed.
std::string ListForPrinting(const std::string& path) {
    std::string text;
    platform::ReadTextModeFile(platform::SystemFileSystem(), path, text);
    std::string lines = versionlist::ListDisplayText(text);
    if (platform::IsTerminal(platform::StandardStream::kOutput)) {
        lines = cli::EscapeControls(lines);
    }
    return lines;
}

int ExitStatusOf(const versionlist::RunResult& result) {
    switch (result.outcome) {
        case versionlist::RunOutcome::kCreateFailed:
        case versionlist::RunOutcome::kWriteFailed:
            return kExitFailure;
        case versionlist::RunOutcome::kNothingFound:
            // With bin or gen unsearchable the suite may well be there.
            return result.searchFailures ? kExitReadFailures : kExitNothingFound;
        case versionlist::RunOutcome::kFound:
            return result.readFailures ? kExitReadFailures : kExitFound;
    }
    return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    platform::PrepareProcess();
    const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
    bool print = false;
    bool json = false;
    bool optionsDone = false;
    const std::string* installDir = nullptr;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--help") {
            return platform::WriteText(platform::StandardStream::kOutput, kUsage) ? kExitFound
                                                                                  : kExitFailure;
        } else if (!optionsDone && arg == "--version") {
            const std::string version = "pelkor-list " + std::string(versionlist::kProgramVersion) +
                                        " " + std::string(versionlist::kBuildTag) + "\n";
            return platform::WriteText(platform::StandardStream::kOutput, version) ? kExitFound
                                                                                   : kExitFailure;
        } else if (!optionsDone && arg == "--print") {
            print = true;
        } else if (!optionsDone && arg == "--json") {
            json = true;
        } else if (!optionsDone && arg.size() > 1 && arg.front() == '-') {
            return Usage("unknown option '" + cli::EscapeControls(arg) + "'");
        } else if (installDir == nullptr) {
            installDir = &arguments[i];
        } else {
            return Usage("more than one install directory given");
        }
    }
    if (print && json) {
        return Usage("--print and --json cannot be combined");
    }
    // An empty argument is most often a variable that was never set; it would otherwise
    // name the root directory.
    if (installDir != nullptr && installDir->empty()) {
        return Usage("the install directory given is empty");
    }

    StderrPresenter presenter;
    versionlist::MessageSink messages(presenter);
    versionlist::ReportSink report;
    versionlist::SinkList sinks{&messages, &report};
    const std::string directory =
        installDir != nullptr ? *installDir : versionlist::FindInstallDir();
    const versionlist::RunResult result = versionlist::WriteVersionList(
        directory, json ? static_cast<versionlist::RunSink&>(sinks)
                        : static_cast<versionlist::RunSink&>(messages));

    const bool listWritten = result.outcome == versionlist::RunOutcome::kFound ||
                             result.outcome == versionlist::RunOutcome::kNothingFound;
    bool outputOk = true;
    if (json) {
        outputOk = platform::WriteText(platform::StandardStream::kOutput,
                                       cli::JsonReport(report.Report()));
    } else if (print && listWritten) {
        outputOk = platform::WriteText(platform::StandardStream::kOutput,
                                       ListForPrinting(result.listPath));
    }
    if (!outputOk) {
        platform::WriteText(platform::StandardStream::kError,
                            std::string(kProgram) + ": cannot write to standard output: " +
                                std::strerror(errno) + "\n");
        return kExitFailure;
    }
    return ExitStatusOf(result);
}
