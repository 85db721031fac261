// The benchmark families of pelkor_bench and the throughput ratios its summary prints.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "versionlist/version_list.hpp"

namespace bench {

// One line of the summary: row's bytes per second over reference's, against a goal.
struct RatioGoal {
    std::string row;
    std::string reference;
    double goal;  // the least acceptable ratio; 0 for a ratio shown for information
};

void RegisterScannerBenchmarks(std::vector<RatioGoal>& goals);
void RegisterDefinitionBenchmarks(std::vector<RatioGoal>& goals);

// Messages of a benchmarked run are counted, never shown.
class CountingPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view) override { ++count; }
    long count = 0;
};

// The real file system with every read counted, for the figures "reads per file" and "bytes
// per file".
class CountingFileSystem final : public platform::FileSystem {
public:
    std::unique_ptr<platform::InputFile> OpenBinary(const std::string& path) override;
    std::unique_ptr<platform::OutputFile> Create(const std::string& path) override;

    long opens = 0;
    long reads = 0;
    long bytesAsked = 0;
    long bytesRead = 0;
};

// A list run's readers writing their lines to /dev/null.
struct NullListRun {
    explicit NullListRun(platform::FileSystem& fileSystem);
    CountingPresenter presenter;
    versionlist::VersionList list;
};

}  // namespace bench
