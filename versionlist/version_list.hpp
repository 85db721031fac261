// One run of the version list: walks the install directory against the catalogue and writes
// version.lis.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "versionlist/list_file.hpp"

namespace versionlist {

// Message formats; "%s" takes the path concerned.
namespace messages {
inline constexpr std::string_view kScanOpenError = "[%s] Open Error !!\n";
inline constexpr std::string_view kScanReadError = " [%s] Read Error !! \n";
inline constexpr std::string_view kDefinitionOpenError = "定義体[%s] Open Error !!\n";
inline constexpr std::string_view kDefinitionSeekError = " 定義体[%s] Lseek Error !! \n";
inline constexpr std::string_view kDefinitionReadError = " 定義体[%s] Read Error !! \n";
inline constexpr std::string_view kListCreateError = "List File[%s] Create Error\n";
inline constexpr std::string_view kListWriteError = "List File[%s] Write Error\n";
inline constexpr std::string_view kNothingFound = "汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。";
}  // namespace messages

// format with its "%s" replaced by path, as every message of the program is made.
std::string FormatMessage(std::string_view format, std::string_view path);

enum class RunOutcome {
    kCreateFailed,  // the list file could not be created; nothing was written
    kWriteFailed,   // the list file is incomplete (disk full, I/O error)
    kNothingFound,  // the list was written, but no catalogue tool or definition file exists
    kFound,         // the list was written and holds the suite's versions
};

// What a run saw, for front ends that present it in other forms than the list file.
struct ToolReport {
    std::string file;  // name as the directory search returned it
    std::vector<std::string> markers;
    bool failed = false;
};

struct DefinitionReport {
    std::string file;
    std::string version;
    std::string name;
    bool failed = false;
};

struct CategoryReport {
    std::size_t index = 0;
    std::string displayName;  // UTF-8
    std::vector<ToolReport> tools;
    std::vector<DefinitionReport> definitions;
};

struct RunReport {
    std::string installDir;
    std::string listPath;
    RunOutcome outcome = RunOutcome::kCreateFailed;
    bool found = false;
    bool readFailures = false;  // some suite file could not be opened, positioned or read
    std::vector<CategoryReport> categories;  // only those that got a heading
    std::vector<ToolReport> converters;
    std::vector<std::string> messages;  // every message shown, in order
};

class VersionList {
public:
    explicit VersionList(platform::MessagePresenter& presenter,
                         platform::FileSystem& fileSystem = platform::SystemFileSystem());

    // Writes the list for the install directory given as the directory field's text. Shows
    // the run's messages, the not-found message included, and returns what happened; what
    // follows a good run (viewer, editor) is the caller's.
    RunOutcome WriteVersionList(std::string_view fieldText);

    // Writes the marker lines of dir + name.
    void ScanVersionMarkers(const std::string& dir, const std::string& name);
    // Writes the definition line of dir + name, read with the layout of category.
    void ReadDefinitionHeader(const std::string& name, const std::string& dir,
                              std::size_t category);
    // Shows format with "%s" replaced by path; without a path, format as it stands.
    void ReportError(std::string_view format, std::optional<std::string_view> path = {});

    // Keep the markers, names and versions of a run in Report (for reports other than the
    // list file). Off by default: the list file alone needs no memory per marker.
    bool CollectReport = false;

    std::string InstallDir;
    std::string ListPath;
    std::unique_ptr<ListFileWriter> ListFile;  // open only during a run
    RunReport Report;

private:
    platform::MessagePresenter& presenter_;
    platform::FileSystem& fileSystem_;
    ToolReport* currentTool_ = nullptr;
    DefinitionReport* currentDefinition_ = nullptr;
};

// The install directory proposed at start-up: HOME of the suite's settings file, else its
// PATH without a final "/bin" component, else the current directory.
std::string FindInstallDir();
// PATH's rule: a final "/bin" component (any letter case) is cut off.
std::string CutBinComponent(std::string path);

}  // namespace versionlist
