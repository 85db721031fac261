// One run of the version list over a test tree, with what it showed and wrote.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.hpp"
#include "support/list_rules.hpp"
#include "support/temp_tree.hpp"
#include "versionlist/version_list.hpp"

namespace hostile {

// The messages of the readers' and the run's failures, as the person reads them.
inline std::string ScanOpenError(std::string_view path) {
    return "[" + std::string(path) + "] Open Error !!\n";
}
inline std::string ScanReadError(std::string_view path) {
    return " [" + std::string(path) + "] Read Error !! \n";
}
inline std::string DefinitionOpenError(std::string_view path) {
    return "定義体[" + std::string(path) + "] Open Error !!\n";
}
inline std::string DefinitionSeekError(std::string_view path) {
    return " 定義体[" + std::string(path) + "] Lseek Error !! \n";
}
inline std::string DefinitionReadError(std::string_view path) {
    return " 定義体[" + std::string(path) + "] Read Error !! \n";
}
inline std::string ListCreateError(std::string_view path) {
    return "List File[" + std::string(path) + "] Create Error\n";
}
inline std::string ListWriteError(std::string_view path) {
    return "List File[" + std::string(path) + "] Write Error\n";
}
inline const std::string kNothingFound = "汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。";

struct RunResult {
    versionlist::RunOutcome outcome;
    std::vector<std::string> messages;
    std::string list;  // the list file's bytes after the run; empty when there is none
    versionlist::RunReport report;
};

inline RunResult RunOver(const std::string& installDir,
                         platform::FileSystem& fileSystem = platform::SystemFileSystem()) {
    testing_support::RecordingPresenter presenter;
    versionlist::VersionList list(presenter, fileSystem);
    list.CollectReport = true;
    RunResult result{list.WriteVersionList(installDir), {}, {}, {}};
    result.messages = presenter.messages;
    result.report = list.Report;
    // The list as stored, not as a text-mode reader sees it.
    if (auto file = platform::SystemFileSystem().OpenBinary(installDir + "/version.lis")) {
        char chunk[4096];
        long n;
        while ((n = file->Read(chunk, sizeof chunk)) > 0) {
            result.list.append(chunk, static_cast<std::size_t>(n));
        }
    }
    return result;
}

inline RunResult RunOver(const testing_support::TempTree& tree,
                         platform::FileSystem& fileSystem = platform::SystemFileSystem()) {
    return RunOver(tree.Root(), fileSystem);
}

}  // namespace hostile
