// The marker scanner over arbitrary bytes split into arbitrary reads: the same markers as one
// read, and as the state machine fed one byte at a time; and the scan of a whole file whose
// runs of zero bytes are holes the scan passes over gives the markers of the plain bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_check.hpp"
#include "support/test_file_system.hpp"
#include "versionlist/marker_scanner.hpp"
#include "versionlist/readers.hpp"

namespace {

// The state machine as its rules read, one byte per step; marker texts are cut at the
// scanner's fixed text length.
std::vector<std::string> ByteByByte(const std::string& bytes) {
    std::vector<std::string> markers;
    int state = 0;
    std::string text;
    for (char c : bytes) {
        switch (state) {
            case 0:
                if (c == '@') {
                    text.clear();
                    state = 1;
                }
                break;
            case 1:
                state = c == '(' ? 2 : 0;
                break;
            case 2:
                state = c == '#' ? 3 : 0;
                break;
            case 3:
                state = c == ')' ? 4 : 0;
                break;
            case 4:
                state = c == ' ' ? 5 : 0;
                break;
            case 5:
                if (c == 'X') {
                    text = "X";
                    state = 6;
                } else {
                    state = 0;
                }
                break;
            case 6:
                if (c == '\0') {
                    markers.push_back(text.substr(0, versionlist::MarkerScanner::kMaxText));
                    state = 0;
                } else {
                    text.push_back(c);
                }
                break;
        }
    }
    return markers;
}

// Every marker line the scan of a file hands on.
struct MarkerList final : versionlist::RunSink {
    void MarkerLine(std::string_view marker) override { markers.emplace_back(marker); }
    void Failed(const versionlist::Failure&) override { failed = true; }
    std::vector<std::string> markers;
    bool failed = false;
};

// The runs of at least minimum zero bytes, as holes of a sparse file.
std::vector<std::pair<std::int64_t, std::int64_t>> ZeroRuns(const std::string& bytes,
                                                            std::size_t minimum) {
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t end = i;
        while (end < bytes.size() && bytes[end] == '\0') {
            ++end;
        }
        if (end - i >= minimum) {
            runs.emplace_back(i, end - i);
        }
        i = end > i ? end : i + 1;
    }
    return runs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto holeMinimum = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
    std::vector<std::size_t> splits;
    std::size_t splitCount = provider.ConsumeIntegralInRange<std::size_t>(0, 16);
    for (std::size_t i = 0; i < splitCount; ++i) {
        splits.push_back(provider.ConsumeIntegralInRange<std::size_t>(0, 300));
    }
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    std::vector<std::string> whole;
    versionlist::MarkerScanner oneRead;
    oneRead.Feed(bytes.data(), bytes.size(), [&](std::string_view t) { whole.emplace_back(t); });

    std::vector<std::string> split;
    versionlist::MarkerScanner manyReads;
    auto collect = [&](std::string_view t) { split.emplace_back(t); };
    std::size_t at = 0;
    for (std::size_t i = 0; at < bytes.size(); ++i) {
        std::size_t chunk = splits.empty() ? 1 : splits[i % splits.size()];
        if (chunk == 0) {
            manyReads.Feed(bytes.data() + at, 0, collect);  // an empty read changes nothing
            chunk = 1;
        }
        chunk = std::min(chunk, bytes.size() - at);
        manyReads.Feed(bytes.data() + at, chunk, collect);
        at += chunk;
    }
    FUZZ_CHECK(split == whole);
    FUZZ_CHECK(manyReads.InMarker() == oneRead.InMarker());
    FUZZ_CHECK(whole == ByteByByte(bytes));

    testing_support::TestFileSystem files;
    files.memoryFiles["/bin/kplr.exe"] = bytes;
    files.memoryHoles["/bin/kplr.exe"] = ZeroRuns(bytes, holeMinimum);
    MarkerList scanned;
    versionlist::ScanVersionMarkers(files, scanned, "/bin/", "kplr.exe");
    FUZZ_CHECK(!scanned.failed);
    FUZZ_CHECK(scanned.markers == whole);
    for (const auto& marker : whole) {
        FUZZ_CHECK(!marker.empty() && marker[0] == 'X');
        FUZZ_CHECK(marker.size() <= versionlist::MarkerScanner::kMaxText);
        FUZZ_CHECK(marker.find('\0') == std::string::npos);
    }
    return 0;
}
