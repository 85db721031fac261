// The benchmark families of pelkor_bench and the throughput ratios its summary prints.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "versionlist/list_file.hpp"
#include "versionlist/run_sink.hpp"

namespace bench {

// One line of the summary: row's bytes per second over reference's, against a goal.
struct RatioGoal {
    std::string row;
    std::string reference;
    double goal;  // the least acceptable ratio; 0 for a ratio shown for information
};

void RegisterScannerBenchmarks(std::vector<RatioGoal>& goals);
void RegisterDefinitionBenchmarks(std::vector<RatioGoal>& goals);

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

// Where the benchmarked readers' findings go: through the list file's formatting into
// nothing, with their failures counted.
class NullListRun {
public:
    NullListRun();
    versionlist::RunSink& Sink() { return sinks_; }
    long Failures() const { return failures_.count; }

private:
    struct FailureCount final : versionlist::RunSink {
        void Failed(const versionlist::Failure&) override { ++count; }
        long count = 0;
    };
    versionlist::ListFileWriter list_;
    FailureCount failures_;
    versionlist::SinkList sinks_{&list_, &failures_};
};

}  // namespace bench
