// The version list run and the two readers of the suite's files.
#include "versionlist/version_list.hpp"

#include <array>

#include "platform/dir_search.hpp"
#include "platform/settings.hpp"
#include "versionlist/catalogue.hpp"
#include "versionlist/definition_header.hpp"
#include "versionlist/marker_scanner.hpp"

namespace versionlist {
namespace {

// Executables are read in large chunks: the scanner's result does not depend on where the
// reads split a file, and few large reads cost far less than many small ones: 260-byte reads
// scan more than 20 times slower. 64 KiB stays within the core's second-level cache while it
// is scanned and sits comfortably on the stack of any thread; 256 KiB measured only 4 to 7%
// faster (see docs/performance.md).
constexpr std::size_t kScanReadSize = 64 * 1024;

constexpr std::string_view kSettingsFile = "rivazivu.ini";
constexpr std::string_view kSettingsSection = "SYSTEM";

}  // namespace

VersionList::VersionList(platform::MessagePresenter& presenter, platform::FileSystem& fileSystem)
    : presenter_(presenter), fileSystem_(fileSystem) {}

std::string FormatMessage(std::string_view format, std::string_view path) {
    std::string text(format);
    if (auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, path);
    }
    return text;
}

void VersionList::ReportError(std::string_view format, std::optional<std::string_view> path) {
    std::string text = path ? FormatMessage(format, *path) : std::string(format);
    Report.messages.push_back(text);
    presenter_.ShowMessage(text);
}

void VersionList::ScanVersionMarkers(const std::string& dir, const std::string& name) {
    const std::string path = dir + name;
    auto file = fileSystem_.OpenBinary(path);
    if (!file) {
        Report.readFailures = true;
        if (currentTool_ != nullptr) {
            currentTool_->failed = true;
        }
        ReportError(messages::kScanOpenError, path);
        return;
    }
    MarkerScanner scanner;
    std::array<char, kScanReadSize> buffer;
    long count;
    while ((count = file->Read(buffer.data(), buffer.size())) > 0) {
        scanner.Feed(buffer.data(), static_cast<std::size_t>(count), [&](std::string_view text) {
            ListFile->WriteMarkerLine(text);
            if (CollectReport && currentTool_ != nullptr) {
                currentTool_->markers.emplace_back(text);
            }
        });
    }
    file.reset();  // closed on every path, before any message is shown
    if (count < 0) {
        Report.readFailures = true;
        if (currentTool_ != nullptr) {
            currentTool_->failed = true;
        }
        ReportError(messages::kScanReadError, path);
    }
}

void VersionList::ReadDefinitionHeader(const std::string& name, const std::string& dir,
                                       std::size_t category) {
    const std::string path = dir + name;
    auto fail = [&](std::string_view format) {
        Report.readFailures = true;
        if (currentDefinition_ != nullptr) {
            currentDefinition_->failed = true;
        }
        ReportError(format, path);
    };
    auto file = fileSystem_.OpenText(path);
    if (!file) {
        fail(messages::kDefinitionOpenError);
        return;
    }
    // Each field read is positioned on its own; a failure ends the call without a line.
    auto readField = [&](FieldRead field, std::string& delivered) {
        std::array<char, 32> buffer;
        if (!file->Seek(field.offset)) {
            file.reset();
            fail(messages::kDefinitionSeekError);
            return false;
        }
        long count = file->Read(buffer.data(), field.count);
        if (count < 0) {
            file.reset();
            fail(messages::kDefinitionReadError);
            return false;
        }
        delivered.assign(buffer.data(), static_cast<std::size_t>(count));
        return true;
    };
    std::string nameBytes, versionBytes;
    if (!readField(NameField(category), nameBytes) || !readField(kVersionField, versionBytes)) {
        return;
    }
    file.reset();
    std::string definitionName = DefinitionName(category, nameBytes);
    std::string version = DefinitionVersion(category, versionBytes);
    ListFile->WriteDefinitionLine(name, version, definitionName);
    if (CollectReport && currentDefinition_ != nullptr) {
        currentDefinition_->version = version;
        currentDefinition_->name = definitionName;
    }
}

RunOutcome VersionList::WriteVersionList(std::string_view fieldText) {
    Report = RunReport{};
    InstallDir = fieldText;
    if (!InstallDir.empty() && InstallDir.back() == '/') {
        InstallDir.pop_back();
    }
    ListPath = InstallDir + "/" + std::string(kListFileName);
    Report.installDir = InstallDir;
    Report.listPath = ListPath;

    auto output = fileSystem_.Create(ListPath);
    if (!output) {
        ReportError(messages::kListCreateError, ListPath);
        return Report.outcome = RunOutcome::kCreateFailed;
    }
    ListFile = std::make_unique<ListFileWriter>(std::move(output));
    ListFile->WriteBanner();

    const std::string binDir = InstallDir + "/bin/";
    const std::string genDir = InstallDir + "/gen/";
    bool found = false;

    for (std::size_t c = 0; c < ToolCatalogue.size(); ++c) {
        const ProductCategory& category = ToolCatalogue[c];
        bool heading = false;
        bool lead = false;
        // The heading stands before the section's first entry, even if that yields no line.
        auto takeUp = [&] {
            if (!heading) {
                ListFile->WriteProductHeading(category.DisplayName);
                heading = true;
                if (CollectReport) {
                    Report.categories.push_back({c, std::string(category.DisplayName), {}, {}});
                }
            }
        };
        for (std::size_t t = 0; t < kToolSlots; ++t) {
            auto matches = platform::FindMatches(binDir + std::string(category.Tools[t]));
            if (matches.empty()) {
                continue;
            }
            const std::string& match = matches.front();
            if (t == 0) {
                lead = true;
            }
            // A shared tool belongs to a category only when that category's lead is present.
            if (!IsSharedTool(match) || lead) {
                takeUp();
                if (CollectReport) {
                    currentTool_ = &Report.categories.back().tools.emplace_back();
                    currentTool_->file = match;
                }
                ScanVersionMarkers(binDir, match);
                currentTool_ = nullptr;
            }
            found = true;
        }
        for (const auto& match :
             platform::FindMatches(genDir + std::string(category.DefinitionPattern))) {
            takeUp();
            found = true;
            if (CollectReport) {
                currentDefinition_ = &Report.categories.back().definitions.emplace_back();
                currentDefinition_->file = match;
            }
            ReadDefinitionHeader(match, genDir, c);
            currentDefinition_ = nullptr;
        }
    }

    // Converters are listed but do not count as the suite being present.
    bool converterHeading = false;
    for (const auto& match : platform::FindMatches(binDir + std::string(kConverterPattern))) {
        if (!converterHeading) {
            ListFile->WriteConverterHeading();
            converterHeading = true;
        }
        if (CollectReport) {
            currentTool_ = &Report.converters.emplace_back();
            currentTool_->file = match;
        }
        ScanVersionMarkers(binDir, match);
        currentTool_ = nullptr;
    }

    bool complete = ListFile->Close();
    ListFile.reset();
    Report.found = found;
    if (!complete) {
        // A list cut short by a full disk must never pass for the whole list.
        ReportError(messages::kListWriteError, ListPath);
        return Report.outcome = RunOutcome::kWriteFailed;
    }
    if (!found) {
        ReportError(messages::kNothingFound);
        return Report.outcome = RunOutcome::kNothingFound;
    }
    return Report.outcome = RunOutcome::kFound;
}

std::string CutBinComponent(std::string path) {
    auto slash = path.rfind('/');
    if (slash != std::string::npos &&
        platform::EqualsIgnoreAsciiCase(std::string_view(path).substr(slash), "/bin")) {
        path.erase(slash);
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
