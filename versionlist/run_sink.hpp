// Where a run hands what it finds: the list file, a report, the person's messages.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "versionlist/failure.hpp"

namespace versionlist {

enum class RunOutcome {
    kCreateFailed,  // the list file could not be created; nothing was written
    kWriteFailed,   // the list file is incomplete (disk full, I/O error); the old one stands
    kNothingFound,  // the list was written, but no catalogue tool or definition file exists
    kFound,         // the list was written and holds the suite's versions
};

// How a run ended.
struct RunResult {
    RunOutcome outcome = RunOutcome::kCreateFailed;
    std::string installDir;       // the directory the run listed, as taken from the field
    std::string listPath;         // the list file it wrote
    bool found = false;           // some catalogue tool or definition file was present
    bool readFailures = false;    // some suite file or directory could not be read
    bool searchFailures = false;  // bin or gen could not be searched, so found may be short
};

// Receives a run's findings in list order. Every event has an empty default, so a sink
// takes only what it needs.
class RunSink {
public:
    virtual ~RunSink() = default;
    // The heading of a product section; category is the catalogue row.
    virtual void ProductHeading(std::size_t /*category*/) {}
    // The heading of the OMF converter section.
    virtual void ConverterHeading() {}
    // A tool or converter taken up for scanning, as the directory search named it; its marker
    // lines follow.
    virtual void Tool(std::string_view /*file*/) {}
    virtual void MarkerLine(std::string_view /*marker*/) {}
    // A definition file taken up; its line follows unless reading it fails.
    virtual void Definition(std::string_view /*file*/) {}
    virtual void DefinitionLine(std::string_view /*file*/, std::string_view /*version*/,
                                std::string_view /*name*/) {}
    // A failure, when it happens; the run goes on where it can.
    virtual void Failed(const Failure& /*failure*/) {}
    // The run is over and the list file closed.
    virtual void Finished(const RunResult& /*result*/) {}
};

// Hands every event to several sinks, in the order given.
class SinkList final : public RunSink {
public:
    SinkList(std::initializer_list<RunSink*> sinks) : sinks_(sinks) {}
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
    std::vector<RunSink*> sinks_;
};

}  // namespace versionlist
