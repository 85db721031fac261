// The marker scanner's state machine, fed whole and split at every point.
#include "versionlist/marker_scanner.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "support/test_file_system.hpp"
#include "versionlist/readers.hpp"

namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::vector<std::string> ScanInChunks(const std::string& bytes, std::vector<std::size_t> cuts) {
    versionlist::MarkerScanner scanner;
    std::vector<std::string> found;
    auto collect = [&](std::string_view text) { found.emplace_back(text); };
    std::size_t from = 0;
    cuts.push_back(bytes.size());
    for (std::size_t cut : cuts) {
        scanner.Feed(bytes.data() + from, cut - from, collect);
        from = cut;
    }
    return found;
}

std::vector<std::string> Scan(const std::string& bytes) {
    return ScanInChunks(bytes, {});
}

struct ScanCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> markers;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }
};

class MarkerScannerTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(MarkerScannerTest, FindsTheMarkers) {
    EXPECT_THAT(Scan(GetParam().bytes), ElementsAreArray(GetParam().markers));
}

INSTANTIATE_TEST_SUITE_P(
    StateMachine, MarkerScannerTest,
    ::testing::Values(ScanCase{"OneMarker", "junk@(#) XKPL V1.0\0tail"s, {"XKPL V1.0"}},
                      ScanCase{"OnlyTheX", "@(#) X\0"s, {"X"}},
                      ScanCase{"NoBlankBeforeX", "@(#)XKPL\0"s, {}},
                      ScanCase{"SmallX", "@(#) xKPL\0"s, {}},
                      ScanCase{"TwoBlanks", "@(#)  XKPL\0"s, {}},
                      // The second at sign breaks the sequence and is not taken as a new start.
                      ScanCase{"DoubledAtSign", "@@(#) XKPL\0"s, {}},
                      ScanCase{"BrokenThenValid", "@(@(#) XA\0"s, {}},
                      ScanCase{"BrokenPrefixThenLaterMarker", "@(#x @(#) XA\0"s, {"XA"}},
                      // A marker's text runs to its NUL, whatever it holds.
                      ScanCase{"PrefixInsideText", "@(#) XA @(#) XB\0"s, {"XA @(#) XB"}},
                      ScanCase{"HighBytesAndLineFeeds", "@(#) X\xBA\xDD\n\r\0"s, {"X\xBA\xDD\n\r"}},
                      ScanCase{"TwoMarkersInOrder", "@(#) X1\0..@(#) X2\0"s, {"X1", "X2"}},
                      ScanCase{"SameMarkerTwice", "@(#) XA\0@(#) XA\0"s, {"XA", "XA"}},
                      ScanCase{"Adjacent", "@(#) XA\0@(#) XB\0"s, {"XA", "XB"}},
                      ScanCase{"OpenAtTheEnd", "@(#) XNO END"s, {}}, ScanCase{"Empty", ""s, {}},
                      ScanCase{"NoMarker", "plain bytes @ ( # ) X\0"s, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MarkerScanner, ResultDoesNotDependOnWhereReadsSplitTheFile) {
    const std::string bytes = "ab@(#) XFIRST V1\0@@(#) x@(#) XSECOND\0@(#) XTHIRD"s;
    const std::vector<std::string> whole = Scan(bytes);
    ASSERT_THAT(whole, ElementsAre("XFIRST V1", "XSECOND"));
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        EXPECT_EQ(ScanInChunks(bytes, {i}), whole) << "split at " << i;
        for (std::size_t j = i; j <= bytes.size(); ++j) {
            ASSERT_EQ(ScanInChunks(bytes, {i, j}), whole) << "split at " << i << ", " << j;
        }
    }
    std::vector<std::size_t> everyByte;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        everyByte.push_back(i);
    }
    EXPECT_EQ(ScanInChunks(bytes, everyByte), whole);
}

TEST(MarkerScanner, LongTextKeepsItsFirst258BytesAndIsWrittenAtItsNul) {
    const std::string text = "X" + std::string(400, 'L');
    const std::string bytes = "@(#) " + text + "\0@(#) XNEXT\0"s;
    for (std::size_t cut : {0u, 100u, 263u, 264u, 300u}) {
        EXPECT_THAT(ScanInChunks(bytes, {cut}),
                    ElementsAre(text.substr(0, versionlist::MarkerScanner::kMaxText), "XNEXT"))
            << "split at " << cut;
    }
    const std::string exact = "X" + std::string(257, 'E');
    EXPECT_THAT(Scan("@(#) " + exact + "\0"s), ElementsAre(exact));
}

TEST(MarkerScanner, KnowsWhenAMarkerIsStillOpen) {
    versionlist::MarkerScanner scanner;
    auto ignore = [](std::string_view) {};
    std::string open = "@(#) Xopen";
    scanner.Feed(open.data(), open.size(), ignore);
    EXPECT_TRUE(scanner.InMarker());
    scanner.Feed("\0", 1, ignore);
    EXPECT_FALSE(scanner.InMarker());
    EXPECT_THAT(Scan(open), IsEmpty());
}

// The markers the scan of a whole file hands on.
struct MarkerList final : versionlist::RunSink {
    void MarkerLine(std::string_view marker) override { markers.emplace_back(marker); }
    std::vector<std::string> markers;
};

struct HoleCase {
    const char* label;
    std::string bytes;
    std::vector<std::pair<std::int64_t, std::int64_t>> holes;  // runs of zeros in bytes
    friend void PrintTo(const HoleCase& c, std::ostream* os) { *os << c.label; }
};

class SparseScanTest : public ::testing::TestWithParam<HoleCase> {};

// A hole reads as zeros: passing over it must give exactly the markers a full read gives.
TEST_P(SparseScanTest, GivesTheMarkersOfAFullRead) {
    const auto& c = GetParam();
    for (const auto& [start, length] : c.holes) {
        ASSERT_EQ(c.bytes.substr(start, length), std::string(length, '\0')) << "not a hole";
    }
    testing_support::TestFileSystem files;
    files.memoryFiles["/bin/t"] = c.bytes;
    files.memoryHoles["/bin/t"] = c.holes;
    MarkerList sparse;
    versionlist::ScanVersionMarkers(files, sparse, "/bin/", "t");
    EXPECT_EQ(files.readLogs["/bin/t"].holesSkipped > 0, !c.holes.empty());
    EXPECT_EQ(sparse.markers, Scan(c.bytes));
}

std::string Zeros(std::size_t n) {
    return std::string(n, '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Holes, SparseScanTest,
    ::testing::Values(
        HoleCase{"NoHole", "@(#) XA\0"s, {}},
        HoleCase{"MarkerAfterAHole", Zeros(100) + "@(#) XAFTER\0"s, {{0, 100}}},
        // The hole's first zero ends a marker that is still open.
        HoleCase{"HoleEndsAnOpenMarker", "@(#) XOPEN" + Zeros(100) + "tail", {{10, 100}}},
        HoleCase{"HoleAtTheEndEndsAnOpenMarker", "@(#) XLAST" + Zeros(50), {{10, 50}}},
        // A hole in the prefix breaks it; nothing after the hole continues it.
        HoleCase{"HoleBreaksAPrefix", "@(#" + Zeros(64) + ") XNOT\0"s, {{3, 64}}},
        HoleCase{"HolesBetweenMarkers",
                 "@(#) X1\0"s + Zeros(30) + "@(#) X2\0"s + Zeros(30) + "@(#) X3\0"s,
                 {{8, 30}, {46, 30}}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
