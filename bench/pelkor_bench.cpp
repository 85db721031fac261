// pelkor_bench: throughput of the marker scanner against a bare memchr pass, and the cost of the
// definition reader; ends with a summary of each row's ratio to its reference row.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/registry.hpp"

namespace bench {
namespace {

class CountingInputFile final : public platform::InputFile {
public:
    CountingInputFile(std::unique_ptr<platform::InputFile> raw, CountingFileSystem& counts)
        : raw_(std::move(raw)), counts_(counts) {}
    long Read(char* buffer, std::size_t count) override {
        long n = raw_->Read(buffer, count);
        ++counts_.reads;
        counts_.bytesAsked += static_cast<long>(count);
        counts_.bytesRead += n > 0 ? n : 0;
        return n;
    }
    bool Seek(std::int64_t offset) override { return raw_->Seek(offset); }

private:
    std::unique_ptr<platform::InputFile> raw_;
    CountingFileSystem& counts_;
};

// The console table as usual; every row's throughput is kept for the summary.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that a saved table reads as plain text.
    explicit SummaryReporter(std::vector<RatioGoal> goals)
        : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular),
          goals_(std::move(goals)) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const auto& run : reports) {
            if (run.error_occurred) {
                continue;
            }
            // With repetitions the median aggregate stands for the row.
            std::string name = run.run_name.str();
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) {
                continue;
            }
            for (const char* counter : {"bytes_per_second", "items_per_second"}) {
                auto it = run.counters.find(counter);
                if (it != run.counters.end() && (median || !medians_.count(name))) {
                    rates_[name] = it->second.value;
                    if (median) {
                        medians_[name] = true;
                    }
                }
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        auto& out = GetOutputStream();
        bool header = false;
        for (const auto& goal : goals_) {
            auto row = rates_.find(goal.row);
            auto reference = rates_.find(goal.reference);
            if (row == rates_.end() || reference == rates_.end() || reference->second <= 0) {
                continue;  // filtered out or not run
            }
            if (!header) {
                out << "\nRatios (row over reference, per second; goal = least acceptable)\n";
                header = true;
            }
            double ratio = row->second / reference->second;
            char verdict[64] = "";
            if (goal.goal > 0) {
                std::snprintf(verdict, sizeof verdict, "goal >= %.2f  %s", goal.goal,
                              ratio >= goal.goal ? "met" : "NOT MET");
            }
            char line[512];
            std::snprintf(line, sizeof line, "  %-44s / %-40s %6.2f  %s\n", goal.row.c_str(),
                          goal.reference.c_str(), ratio, verdict);
            out << line;
        }
        out.flush();
    }

private:
    std::vector<RatioGoal> goals_;
    std::map<std::string, double> rates_;
    std::map<std::string, bool> medians_;
};

}  // namespace

std::unique_ptr<platform::InputFile> CountingFileSystem::OpenBinary(const std::string& path) {
    auto raw = platform::SystemFileSystem().OpenBinary(path);
    if (!raw) {
        return nullptr;
    }
    ++opens;
    return std::make_unique<CountingInputFile>(std::move(raw), *this);
}

std::unique_ptr<platform::OutputFile> CountingFileSystem::Create(const std::string& path) {
    return platform::SystemFileSystem().Create(path);
}

namespace {

class NullOutputFile final : public platform::OutputFile {
public:
    bool Write(const char*, std::size_t) override { return true; }
    bool Close() override { return true; }
};

}  // namespace

NullListRun::NullListRun() : list_(std::make_unique<NullOutputFile>()) {}

}  // namespace bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::vector<bench::RatioGoal> goals;
    bench::RegisterScannerBenchmarks(goals);
    bench::RegisterDefinitionBenchmarks(goals);
    bench::SummaryReporter reporter(goals);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
