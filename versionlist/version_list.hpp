// One run of the version list: walks the install directory against the catalogue, writes
// version.lis and hands every finding and failure to a sink, in list order.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dir_search.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "versionlist/list_file.hpp"
#include "versionlist/run_sink.hpp"

namespace versionlist {

// Writes the list for the install directory given as the directory field's text, then
// reports to sink how the run ended; what follows a good run (viewer, editor) is the
// caller's. The field's text ends at its first NUL, as a C string does, and loses one
// trailing separator.
RunResult WriteVersionList(std::string_view fieldText, RunSink& sink,
                           platform::FileSystem& files = platform::SystemFileSystem());

// The run behind WriteVersionList, one object per run.
class ListRun {
public:
    ListRun(RunSink& sink, platform::FileSystem& files) : sink_(sink), files_(files) {}
    RunResult WriteVersionList(std::string_view fieldText);

private:
    // Notes the failures the run's result tells of.
    struct FailureWatch final : RunSink {
        void Failed(const Failure& failure) override;
        bool read = false;
        bool search = false;
    };

    // Creates the list file and writes its banner; false when it cannot be created.
    bool OpenListFile();
    void ListCategory(std::size_t category);
    void ListConverters();
    // The first match of a tool slot that is a regular file, else the first match.
    const std::string& ToolMatch(const std::vector<std::string>& matches) const;
    // bin or gen: the directory string, ending in a separator, and whether a failure to
    // search it has been reported.
    struct SearchedDir {
        std::string path;
        bool failureReported = false;
    };

    // The directory search, its failure reported once per directory and run.
    platform::SearchResult Search(SearchedDir& dir, std::string_view pattern);
    RunResult Finish();

    RunSink& sink_;
    platform::FileSystem& files_;
    FailureWatch watch_;
    std::string InstallDir;
    std::string ListPath;
    std::unique_ptr<ListFileWriter> ListFile;  // open only during a run
    std::unique_ptr<SinkList> out_;            // the list file, the watch, the caller's sink
    SearchedDir bin_;
    SearchedDir gen_;
    bool found_ = false;
};

// Shows each failure and the not-found outcome of a run through a presenter, as the person
// reads them.
class MessageSink final : public RunSink {
public:
    explicit MessageSink(platform::MessagePresenter& presenter) : presenter_(presenter) {}
    void Failed(const Failure& failure) override;
    void Finished(const RunResult& result) override;

private:
    platform::MessagePresenter& presenter_;
};

// The install directory proposed at start-up: HOME of the suite's settings file, else its
// PATH without a final "bin" component, else the current directory.
std::string FindInstallDir();
// PATH's rule: a final "bin" component (any letter case) after the last separator is cut off.
std::string CutBinComponent(std::string path);

}  // namespace versionlist
