// A run's findings kept for front ends that present them in other forms than the list file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "versionlist/run_sink.hpp"

namespace versionlist {

struct ToolReport {
    std::string file;  // name as the directory search returned it
    std::vector<std::string> markers;
    bool readable = true;
};

struct DefinitionReport {
    std::string file;
    std::string version;
    std::string name;
    bool readable = true;
};

struct CategoryReport {
    std::size_t index = 0;  // catalogue row
    std::vector<ToolReport> tools;
    std::vector<DefinitionReport> definitions;
};

struct RunReport {
    RunResult result;
    std::vector<CategoryReport> categories;  // only those that got a heading, in list order
    std::vector<ToolReport> converters;
    std::vector<Failure> failures;  // every failure of the run, in order
};

// Builds a RunReport from a run's events. It keeps every marker in memory, which the list
// file alone never needs.
class ReportSink final : public RunSink {
public:
    const RunReport& Report() const { return report_; }

    void ProductHeading(std::size_t category) override;
    void ConverterHeading() override;
    void Tool(std::string_view file) override;
    void MarkerLine(std::string_view marker) override;
    void Definition(std::string_view file) override;
    void DefinitionLine(std::string_view file, std::string_view version,
                        std::string_view name) override;
    void Failed(const Failure& failure) override;
    void Finished(const RunResult& result) override;

private:
    std::vector<ToolReport>& Tools();

    RunReport report_;
    bool inConverters_ = false;
    // What a reader's failure belongs to: the last tool or definition taken up.
    enum class Current { kNone, kTool, kDefinition } current_ = Current::kNone;
};

}  // namespace versionlist
