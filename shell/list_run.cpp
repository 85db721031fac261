// The desktop programs' only calls into the version list core.
#include "shell/list_run.hpp"

#include "versionlist/failure.hpp"
#include "versionlist/list_file.hpp"
#include "versionlist/version_list.hpp"

namespace shell {
namespace {

RunOutcome FromCore(versionlist::RunOutcome outcome) {
    switch (outcome) {
        case versionlist::RunOutcome::kCreateFailed:
            return RunOutcome::kCreateFailed;
        case versionlist::RunOutcome::kWriteFailed:
            return RunOutcome::kWriteFailed;
        case versionlist::RunOutcome::kNothingFound:
            return RunOutcome::kNothingFound;
        case versionlist::RunOutcome::kFound:
            return RunOutcome::kFound;
    }
    return RunOutcome::kCreateFailed;
}

}  // namespace

ListRun RunVersionList(std::string_view fieldText, platform::MessagePresenter& presenter,
                       platform::FileSystem& fileSystem) {
    versionlist::MessageSink messages(presenter);
    const versionlist::RunResult result =
        versionlist::WriteVersionList(fieldText, messages, fileSystem);
    return ListRun{FromCore(result.outcome), result.listPath};
}

std::string ProposedInstallDir() {
    return versionlist::FindInstallDir();
}

std::string ListDisplayText(std::string_view textModeBytes) {
    return versionlist::ListDisplayText(textModeBytes);
}

std::string FormatMessage(std::string_view format, std::string_view path) {
    return versionlist::FormatMessage(format, path);
}

}  // namespace shell
