// Files of several GiB, markers that never end, files without markers: the run finishes with
// the right list in memory that does not grow with the file.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/files.hpp"
#include "support/list_rules.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"
#include "versionlist/marker_scanner.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedDefinitionLine;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

// The scanner's whole state is a fixed object: nothing in it can grow with the file.
static_assert(sizeof(versionlist::MarkerScanner) <= 512);

using testing_support::MarkerBytes;

// Whether the file system tells the run where the holes of a sparse file are: a probe of
// 64 MiB holding a few bytes at its start.
bool HolesAreReported(const TempTree& tree) {
    const std::string probe = tree.Path("hole-probe");
    testing_support::MakeSparseFile(probe, 64 << 20, {{0, "data"}});
    auto file = platform::SystemFileSystem().OpenBinary(probe);
    char buffer[4096];
    return file != nullptr && file->Read(buffer, sizeof buffer) == sizeof buffer &&
           file->SkipHole() > 0;
}

// A tool of 1 TiB that holds a few KiB: the holes are passed over, not read, and the markers
// are exactly those a full read would give, the one after the largest hole included.
TEST(LargeFiles, SparseToolOfATebibyteIsScannedThroughItsDataOnly) {
    TempTree tree;
    if (!HolesAreReported(tree)) {
        GTEST_SKIP() << "this file system does not report holes; a tebibyte would be read";
    }
    tree.MakeDir("bin");
    const std::int64_t size = 1024 * kGiB + 4219;
    const std::int64_t kBoundary = 4 * kGiB;
    const std::string last = MarkerBytes("X at end");
    const std::string path = tree.Path("bin/kplr.exe");
    // Markers at the start, across the boundary (at 4 GiB 32-bit offsets wrap) and at the end.
    testing_support::MakeSparseFile(path, size,
                                    {{0, MarkerBytes("X at start")},
                                     {kBoundary - 7, MarkerBytes("X across the boundary")},
                                     {size - static_cast<std::int64_t>(last.size()), last}});
    testing_support::TestFileSystem files;
    long peakBefore = testing_support::PeakResidentKiB();

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list,
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("X at start") +
                  ExpectedMarkerLine("X across the boundary") + ExpectedMarkerLine("X at end"));
    const testing_support::ReadLog& log = files.readLogs[path];
    EXPECT_EQ(log.delivered + log.holesSkipped, size) << "every byte once, read or passed over";
    EXPECT_LT(log.delivered, 1 << 20) << "the holes were read";
    EXPECT_LE(log.largestRequest, std::size_t{1} << 20) << "reads through one fixed buffer";
    // Reading the file into memory would add gigabytes; a fixed buffer adds nothing.
    EXPECT_LT(testing_support::PeakResidentKiB() - peakBefore, 64 * 1024);
}

// Where holes are not reported, a tool beyond 4 GiB is read whole, through one fixed buffer:
// markers at its start, across the 4 GiB boundary and at its end.
TEST(LargeFiles, ToolBeyondFourGiBIsScannedWhole) {
    TempTree tree;
    tree.MakeDir("bin");
    const std::int64_t size = 4 * kGiB + 4219;
    const std::string path = tree.Path("bin/kplr.exe");
    const std::string last = MarkerBytes("X at end");
    testing_support::MakeSparseFile(path, size,
                                    {{0, MarkerBytes("X at start")},
                                     {4 * kGiB - 7, MarkerBytes("X across the boundary")},
                                     {size - static_cast<std::int64_t>(last.size()), last}});
    testing_support::TestFileSystem files;

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list,
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("X at start") +
                  ExpectedMarkerLine("X across the boundary") + ExpectedMarkerLine("X at end"));
    const testing_support::ReadLog& log = files.readLogs[path];
    EXPECT_EQ(log.delivered + log.holesSkipped, size) << "every byte once, read or passed over";
    EXPECT_LE(log.largestRequest, std::size_t{1} << 20) << "reads through one fixed buffer";
}

TEST(LargeFiles, SparseDefinitionOfThreeGiBIsReadOnlyInItsHeader) {
    TempTree tree;
    tree.MakeDir("gen");
    const std::string path = tree.Path("gen/mkd1.kmd");
    testing_support::MakeSparseFile(path, 3 * kGiB,
                                    {{0, testing_support::KomaDefinition("KOMADEF ", "0310")}});
    testing_support::TestFileSystem files;

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(1) +
                               ExpectedDefinitionLine("mkd1.kmd", "V03.10", "KOMADEF"));
    EXPECT_LE(files.readLogs[path].delivered, 64);
}

TEST(LargeFiles, MarkerRunningForMegabytesKeepsItsFirstBytesInAFixedBuffer) {
    TempTree tree;
    std::string image = "@(#) X";
    image.append(16 << 20, 'v');  // no NUL for 16 MiB
    image.push_back('\0');
    image += MarkerBytes("X after");
    tree.WriteFile("bin/kplr.exe", image);

    auto result = testing_support::RunOver(tree.Root());

    EXPECT_TRUE(result.messages.empty());
    // The text buffer holds the X and the next 257 bytes; the rest up to the NUL is dropped.
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) +
                               ExpectedMarkerLine("X" + std::string(257, 'v')) +
                               ExpectedMarkerLine("X after"));
}

// Files that end inside a marker, or hold none: the section stands, no line, no message.
struct EndingCase {
    const char* label;
    std::string bytes;
    std::vector<std::string> markers;
};

const EndingCase kEndings[] = {
    {"Empty", "", {}},
    {"NoMarker", std::string(100000, 'z'), {}},
    {"EndsAfterAtSign", MarkerBytes("X one") + "@", {"X one"}},
    {"EndsInPrefix", MarkerBytes("X one") + "@(#", {"X one"}},
    {"EndsAfterBlank", MarkerBytes("X one") + "@(#) ", {"X one"}},
    {"EndsAfterX", MarkerBytes("X one") + "@(#) X", {"X one"}},
    {"EndsInText", MarkerBytes("X one") + "@(#) X two without its NUL", {"X one"}},
    {"EndsInLongText", MarkerBytes("X one") + "@(#) X" + std::string(100000, 't'), {"X one"}},
};

class MarkerOpenAtEndTest : public testing::TestWithParam<EndingCase> {};

TEST_P(MarkerOpenAtEndTest, WritesCompleteMarkersOnly) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", GetParam().bytes);
    tree.WriteFile("bin/komf1.exe", GetParam().bytes);

    auto result = testing_support::RunOver(tree.Root());

    std::string lines;
    for (const auto& marker : GetParam().markers) {
        lines += ExpectedMarkerLine(marker);
    }
    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_TRUE(result.messages.empty());
    // The marker left open in the tool does not run on into the converter's bytes.
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) + lines +
                               testing_support::ExpectedConverterHeading() + lines);
}

INSTANTIATE_TEST_SUITE_P(Endings, MarkerOpenAtEndTest, testing::ValuesIn(kEndings),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
