// The version list file: its fixed texts and the lines the run writes, in Shift-JIS.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.hpp"
#include "platform/text_writer.hpp"
#include "versionlist/run_sink.hpp"

namespace versionlist {

inline constexpr std::string_view kListFileName = "version.lis";
inline constexpr std::string_view kProgramVersion = "V1.2";
inline constexpr std::string_view kBuildTag = "(8a21)";

// The lines of the list before text-mode output turns each LF into CR LF. Fixed texts are
// converted to CP932; texts taken from the suite's files are copied byte for byte.
std::string BannerText();
std::string ProductHeadingText(std::string_view displayName);
std::string ConverterHeadingText();
std::string MarkerLineText(std::string_view marker);
// fileName is as the directory search returned it (UTF-8, converted to CP932);
// version and name are the header's bytes.
std::string DefinitionLineText(std::string_view fileName, std::string_view version,
                               std::string_view name);

// The list as a person reads it, from the bytes a text-mode read of the file delivered: UTF-8,
// each stored line ending in one LF (the CR that CR CR LF leaves is dropped), a CR standing on
// its own shown as a blank, the whole text decoded at once so no double-byte character splits.
std::string ListDisplayText(std::string_view textModeBytes);

// The list file of one run, written as the run's findings arrive.
class ListFileWriter final : public RunSink {
public:
    explicit ListFileWriter(std::unique_ptr<platform::OutputFile> file) : out_(std::move(file)) {}

    void WriteBanner() { out_.Write(BannerText()); }
    void ProductHeading(std::size_t category) override;
    void ConverterHeading() override { out_.Write(ConverterHeadingText()); }
    void MarkerLine(std::string_view marker) override { out_.Write(MarkerLineText(marker)); }
    void DefinitionLine(std::string_view file, std::string_view version,
                        std::string_view name) override {
        out_.Write(DefinitionLineText(file, version, name));
    }
    // True when every byte reached the file and it took its place.
    bool Close() { return out_.Close(); }

private:
    platform::TextModeWriter out_;
};

}  // namespace versionlist
