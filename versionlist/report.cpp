// Collecting a run's findings.
#include "versionlist/report.hpp"

namespace versionlist {

std::vector<ToolReport>& ReportSink::Tools() {
    return inConverters_ ? report_.converters : report_.categories.back().tools;
}

void ReportSink::ProductHeading(std::size_t category) {
    report_.categories.push_back(CategoryReport{category, {}, {}});
    current_ = Current::kNone;
}

void ReportSink::ConverterHeading() {
    inConverters_ = true;
    current_ = Current::kNone;
}

void ReportSink::Tool(std::string_view file) {
    Tools().push_back(ToolReport{std::string(file), {}, true});
    current_ = Current::kTool;
}

void ReportSink::MarkerLine(std::string_view marker) {
    Tools().back().markers.emplace_back(marker);
}

void ReportSink::Definition(std::string_view file) {
    report_.categories.back().definitions.push_back(
        DefinitionReport{std::string(file), {}, {}, true});
    current_ = Current::kDefinition;
}

void ReportSink::DefinitionLine(std::string_view, std::string_view version, std::string_view name) {
    auto& definition = report_.categories.back().definitions.back();
    definition.version = version;
    definition.name = name;
}

void ReportSink::Failed(const Failure& failure) {
    report_.failures.push_back(failure);
    switch (failure.kind) {
        case FailureKind::kScanOpen:
        case FailureKind::kScanRead:
            if (current_ == Current::kTool) {
                Tools().back().readable = false;
            }
            break;
        case FailureKind::kDefinitionOpen:
        case FailureKind::kDefinitionSeek:
        case FailureKind::kDefinitionRead:
            if (current_ == Current::kDefinition) {
                report_.categories.back().definitions.back().readable = false;
            }
            break;
        default:
            break;
    }
}

void ReportSink::Finished(const RunResult& result) {
    report_.result = result;
}

}  // namespace versionlist
