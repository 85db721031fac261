// Running the list for a test.
#include "support/run_over.hpp"

#include <array>

#include "support/temp_tree.hpp"
#include "versionlist/version_list.hpp"

namespace testing_support {

RunOverResult RunOver(const std::string& fieldText, platform::FileSystem& files) {
    RecordingPresenter presenter;
    versionlist::MessageSink messages(presenter);
    versionlist::ReportSink report;
    versionlist::SinkList sinks{&messages, &report};
    const versionlist::RunResult result = versionlist::WriteVersionList(fieldText, sinks, files);
    return RunOverResult{result.outcome, result, presenter.messages, report.Report(),
                         StoredBytes(result.listPath)};
}

std::string StoredBytes(const std::string& path) {
    std::string bytes;
    if (auto file = platform::SystemFileSystem().OpenBinary(path)) {
        std::array<char, 4096> chunk;
        long n;
        while ((n = file->Read(chunk.data(), chunk.size())) > 0) {
            bytes.append(chunk.data(), static_cast<std::size_t>(n));
        }
    }
    return bytes;
}

}  // namespace testing_support
