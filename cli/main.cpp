// pelkor-list: writes the KOMA-R version list from the command line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/json_report.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "versionlist/list_file.hpp"
#include "versionlist/version_list.hpp"

namespace {

constexpr std::string_view kProgram = "pelkor-list";

enum ExitStatus {
    kExitFound = 0,
    kExitNothingFound = 1,
    kExitFailure = 2,
    kExitReadFailures = 3,
};

constexpr const char* kUsage =
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
    "3 list written, but some suite file could not be read.\n";

// Messages go to stderr, one line each.
class StderrPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view text) override {
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
            text.remove_suffix(1);
        }
        std::string line(kProgram);
        line.append(": ");
        for (char c : text) {
            line.append(c == '\n' ? "\\n" : std::string(1, c));
        }
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
};

int Usage(const char* problem) {
    std::fprintf(stderr, "%s: %s\nTry 'pelkor-list --help' for more information.\n",
                 kProgram.data(), problem);
    return kExitFailure;
}

bool WriteStdout(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// The list as a reader sees it: read back as text, decoded, one LF per line.
std::string ListForTerminal(const std::string& path) {
    std::string text;
    platform::ReadTextModeFile(path, text);
    return versionlist::ListDisplayText(text);
}

}  // namespace

int main(int argc, char** argv) {
    bool print = false;
    bool json = false;
    bool optionsDone = false;
    const char* installDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--help") {
            std::fputs(kUsage, stdout);
            return kExitFound;
        } else if (!optionsDone && arg == "--version") {
            std::printf("pelkor-list %s %s\n", versionlist::kProgramVersion.data(),
                        versionlist::kBuildTag.data());
            return kExitFound;
        } else if (!optionsDone && arg == "--print") {
            print = true;
        } else if (!optionsDone && arg == "--json") {
            json = true;
        } else if (!optionsDone && arg.size() > 1 && arg.front() == '-') {
            return Usage(("unknown option '" + std::string(arg) + "'").c_str());
        } else if (installDir == nullptr) {
            installDir = argv[i];
        } else {
            return Usage("more than one install directory given");
        }
    }
    if (print && json) {
        return Usage("--print and --json cannot be combined");
    }

    StderrPresenter presenter;
    versionlist::VersionList list(presenter);
    list.CollectReport = json;
    std::string directory =
        installDir != nullptr ? std::string(installDir) : versionlist::FindInstallDir();
    versionlist::RunOutcome outcome = list.WriteVersionList(directory);

    bool listWritten = outcome == versionlist::RunOutcome::kFound ||
                       outcome == versionlist::RunOutcome::kNothingFound;
    bool outputOk = true;
    if (json) {
        outputOk = WriteStdout(cli::JsonReport(list.Report));
    } else if (print && listWritten) {
        outputOk = WriteStdout(ListForTerminal(list.ListPath));
    }
    if (!outputOk) {
        std::fprintf(stderr, "%s: cannot write to standard output: %s\n", kProgram.data(),
                     std::strerror(errno));
        return kExitFailure;
    }

    switch (outcome) {
        case versionlist::RunOutcome::kCreateFailed:
        case versionlist::RunOutcome::kWriteFailed:
            return kExitFailure;
        case versionlist::RunOutcome::kNothingFound:
            return kExitNothingFound;
        case versionlist::RunOutcome::kFound:
            return list.Report.readFailures ? kExitReadFailures : kExitFound;
    }
    return kExitFailure;
}
