// Files of several GiB, markers that never end, files without markers: the run finishes with
// the right list in memory that does not grow with the file.
#include <gtest/gtest.h>

#include <cstdint>

#include "hostile/hostile_support.hpp"
#include "hostile/run.hpp"
#include "versionlist/marker_scanner.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedDefinitionLine;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

// Instrumented Debug builds scan many times slower: there the sparse tool spans 1 GiB, not 4,
// which keeps every property checked but the wrap of 32-bit offsets, proven by the plain build.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t kBoundary = kGiB;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::int64_t kBoundary = kGiB;
#else
constexpr std::int64_t kBoundary = 4 * kGiB;
#endif
#else
constexpr std::int64_t kBoundary = 4 * kGiB;
#endif

// The scanner's whole state is a fixed object: nothing in it can grow with the file.
static_assert(sizeof(versionlist::MarkerScanner) <= 512);

std::string Marker(std::string_view text) {
    std::string bytes = "@(#) ";
    bytes += text;
    bytes.push_back('\0');
    return bytes;
}

TEST(LargeFiles, SparseToolOfGiBsIsScannedInOnePassWithFixedReads) {
    TempTree tree;
    tree.MakeDir("bin");
    const std::int64_t size = kBoundary + 4219;
    const std::string last = Marker("X at end");
    const std::string path = tree.Path("bin/kplr.exe");
    // Markers at the start, across the boundary (at 4 GiB 32-bit offsets wrap) and at the end.
    hostile::MakeSparseFile(path, size,
                            {{0, Marker("X at start")},
                             {kBoundary - 7, Marker("X across the boundary")},
                             {size - static_cast<std::int64_t>(last.size()), last}});
    hostile::HookedFileSystem files;
    long peakBefore = hostile::PeakResidentKiB();

    auto result = hostile::RunOver(tree, files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list,
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("X at start") +
                  ExpectedMarkerLine("X across the boundary") + ExpectedMarkerLine("X at end"));
    const hostile::ReadLog& log = files.readLogs[path];
    EXPECT_EQ(log.delivered, size) << "every byte once";
    EXPECT_LE(log.largestRequest, std::size_t{1} << 20) << "reads through one fixed buffer";
    // Reading the file into memory would add gigabytes; a fixed buffer adds nothing.
    EXPECT_LT(hostile::PeakResidentKiB() - peakBefore, 64 * 1024);
}

TEST(LargeFiles, SparseDefinitionOfThreeGiBIsReadOnlyInItsHeader) {
    TempTree tree;
    tree.MakeDir("gen");
    const std::string path = tree.Path("gen/mkd1.kmd");
    hostile::MakeSparseFile(path, 3 * kGiB,
                            {{0, testing_support::KomaDefinition("KOMADEF ", "0310")}});
    hostile::HookedFileSystem files;

    auto result = hostile::RunOver(tree, files);

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
    image += Marker("X after");
    tree.WriteFile("bin/kplr.exe", image);

    auto result = hostile::RunOver(tree);

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
    {"EndsAfterAtSign", Marker("X one") + "@", {"X one"}},
    {"EndsInPrefix", Marker("X one") + "@(#", {"X one"}},
    {"EndsAfterBlank", Marker("X one") + "@(#) ", {"X one"}},
    {"EndsAfterX", Marker("X one") + "@(#) X", {"X one"}},
    {"EndsInText", Marker("X one") + "@(#) X two without its NUL", {"X one"}},
    {"EndsInLongText", Marker("X one") + "@(#) X" + std::string(100000, 't'), {"X one"}},
};

class MarkerOpenAtEndTest : public testing::TestWithParam<EndingCase> {};

TEST_P(MarkerOpenAtEndTest, WritesCompleteMarkersOnly) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", GetParam().bytes);
    tree.WriteFile("bin/komf1.exe", GetParam().bytes);

    auto result = hostile::RunOver(tree);

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
