// The version list run: the catalogue walked in list order, every finding handed on.
#include "versionlist/version_list.hpp"

#include "platform/paths.hpp"
#include "platform/settings.hpp"
#include "versionlist/catalogue.hpp"
#include "versionlist/readers.hpp"

namespace versionlist {
namespace {

constexpr std::string_view kSettingsFile = "rivazivu.ini";
constexpr std::string_view kSettingsSection = "SYSTEM";

std::string WithoutFinalSeparator(std::string dir) {
    if (!dir.empty() && platform::IsPathSeparator(dir.back())) {
        dir.pop_back();
    }
    return dir;
}

}  // namespace

RunResult WriteVersionList(std::string_view fieldText, RunSink& sink, platform::FileSystem& files) {
    return ListRun(sink, files).WriteVersionList(fieldText);
}

void ListRun::FailureWatch::Failed(const Failure& failure) {
    read = read || IsReadFailure(failure.kind);
    search = search || failure.kind == FailureKind::kDirectorySearch;
}

RunResult ListRun::WriteVersionList(std::string_view fieldText) {
    // The field is read as a C string, and one trailing separator goes.
    InstallDir = WithoutFinalSeparator(std::string(fieldText.substr(0, fieldText.find('\0'))));
    const std::string separator(1, platform::kPathSeparator);
    ListPath = InstallDir + separator + std::string(kListFileName);
    if (!OpenListFile()) {
        return Finish();
    }
    bin_.path = InstallDir + separator + "bin" + separator;
    gen_.path = InstallDir + separator + "gen" + separator;
    for (std::size_t category = 0; category < ToolCatalogue.size(); ++category) {
        ListCategory(category);
    }
    ListConverters();
    return Finish();
}

bool ListRun::OpenListFile() {
    auto output = files_.Create(ListPath);
    if (!output) {
        ReportError(sink_, FailureKind::kListCreate, ListPath);
        return false;
    }
    ListFile = std::make_unique<ListFileWriter>(std::move(output));
    out_ = std::make_unique<SinkList>(
        std::initializer_list<RunSink*>{ListFile.get(), &watch_, &sink_});
    ListFile->WriteBanner();
    return true;
}

void ListRun::ListCategory(std::size_t category) {
    const ProductCategory& row = ToolCatalogue[category];
    bool heading = false;
    bool lead = false;
    // The heading stands before the section's first entry, even if that yields no line.
    const auto takeUp = [&] {
        if (!heading) {
            out_->ProductHeading(category);
            heading = true;
        }
    };
    for (std::size_t slot = 0; slot < kToolSlots; ++slot) {
        const auto matches = Search(bin_, row.Tools[slot]);
        if (matches.names.empty()) {
            continue;
        }
        const std::string& match = ToolMatch(matches.names);
        lead = lead || slot == 0;
        // A shared tool belongs to a category only when that category's lead is present.
        if (!IsSharedTool(match) || lead) {
            takeUp();
            out_->Tool(match);
            ScanVersionMarkers(files_, *out_, bin_.path, match);
        }
        found_ = true;
    }
    for (const auto& match : Search(gen_, row.DefinitionPattern).names) {
        takeUp();
        found_ = true;
        out_->Definition(match);
        ReadDefinitionHeader(files_, *out_, match, gen_.path, category);
    }
}

void ListRun::ListConverters() {
    // Converters are listed but do not count as the suite being present.
    bool heading = false;
    for (const auto& match : Search(bin_, kConverterPattern).names) {
        if (!heading) {
            out_->ConverterHeading();
            heading = true;
        }
        out_->Tool(match);
        ScanVersionMarkers(files_, *out_, bin_.path, match);
    }
}

const std::string& ListRun::ToolMatch(const std::vector<std::string>& matches) const {
    // Of several spellings of one name (or a broken link beside the tool), the one that can
    // be read is the tool.
    for (const auto& match : matches) {
        if (platform::IsRegularFile(bin_.path + match)) {
            return match;
        }
    }
    return matches.front();
}

platform::SearchResult ListRun::Search(SearchedDir& dir, std::string_view pattern) {
    if (pattern.empty()) {
        return {};  // an empty catalogue slot
    }
    platform::SearchResult result = platform::FindMatches(dir.path + std::string(pattern));
    if (result.failed && !dir.failureReported) {
        dir.failureReported = true;
        ReportError(*out_, FailureKind::kDirectorySearch, WithoutFinalSeparator(dir.path));
    }
    return result;
}

RunResult ListRun::Finish() {
    RunResult result;
    result.installDir = InstallDir;
    result.listPath = ListPath;
    result.found = found_;
    if (!ListFile) {
        result.outcome = RunOutcome::kCreateFailed;
    } else if (const bool complete = ListFile->Close(); !complete) {
        // A list cut short must never pass for the whole list.
        ReportError(*out_, FailureKind::kListWrite, ListPath);
        result.outcome = RunOutcome::kWriteFailed;
    } else {
        result.outcome = found_ ? RunOutcome::kFound : RunOutcome::kNothingFound;
    }
    result.readFailures = watch_.read;
    result.searchFailures = watch_.search;
    ListFile.reset();
    sink_.Finished(result);
    return result;
}

void MessageSink::Failed(const Failure& failure) {
    presenter_.ShowMessage(MessageText(failure));
}

void MessageSink::Finished(const RunResult& result) {
    if (result.outcome == RunOutcome::kNothingFound) {
        presenter_.ShowMessage(kNothingFoundMessage);
    }
}

std::string CutBinComponent(std::string path) {
    std::size_t last = path.size();
    while (last > 0 && !platform::IsPathSeparator(path[last - 1])) {
        --last;
    }
    if (last > 0 && platform::EqualsIgnoreAsciiCase(std::string_view(path).substr(last), "bin")) {
        path.erase(last - 1);
    }
    return path;
}

std::string FindInstallDir() {
    std::string home = platform::ReadProfileString(kSettingsFile, kSettingsSection, "HOME");
    if (!home.empty()) {
        return home;
    }
    std::string path = platform::ReadProfileString(kSettingsFile, kSettingsSection, "PATH");
    if (!path.empty()) {
        return CutBinComponent(std::move(path));
    }
    return platform::CurrentDirectory();
}

}  // namespace versionlist
