// Every failure message of the two readers, each made by an operation that really fails (or,
// where root cannot make it fail, through the seam), and files that vanish, shrink or grow
// between the directory search and the read. (A read error of the kernel's own, and a pipe put
// in a file's place: posix/.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "hostile/reader_failure_cases.hpp"
#include "support/system.hpp"

namespace {

using reader_failures::CheckReaderFailure;
using reader_failures::FailureCase;
using reader_failures::TwoEndedImage;
using testing_support::ExpectedBanner;
using testing_support::ExpectedDefinitionLine;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

const std::string kDefinition = testing_support::OtherDefinition("1.00", "NAME");

const FailureCase kFailures[] = {
    {"ScannerOpenFailsOnDirectory",
     [](const TempTree& t, testing_support::TestFileSystem&) { t.MakeDir("bin/kplr.exe"); },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) { return testing_support::ScanOpenError(t.Path("bin/kplr.exe")); }},
    {"ScannerReadFailsAfterMarkersWereWritten",
     [](const TempTree& t, testing_support::TestFileSystem& f) {
         t.WriteFile("bin/kplr.exe", TwoEndedImage(1 << 20));
         f.hooks[t.Path("bin/kplr.exe")].failReadNumber = 2;
     },
     [](const TempTree&) { return ExpectedProductHeading(0) + ExpectedMarkerLine("X first"); },
     [](const TempTree& t) { return testing_support::ScanReadError(t.Path("bin/kplr.exe")); }},
    {"DefinitionOpenFailsOnDirectory",
     [](const TempTree& t, testing_support::TestFileSystem&) { t.MakeDir("gen/lkd1.kpd"); },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) {
         return testing_support::DefinitionOpenError(t.Path("gen/lkd1.kpd"));
     }},
    {"DefinitionNameSeekFails",
     [](const TempTree& t, testing_support::TestFileSystem& f) {
         t.WriteFile("gen/lkd1.kpd", kDefinition);
         f.hooks[t.Path("gen/lkd1.kpd")].failSeekNumber = 1;
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) {
         return testing_support::DefinitionSeekError(t.Path("gen/lkd1.kpd"));
     }},
    {"DefinitionVersionSeekFails",
     [](const TempTree& t, testing_support::TestFileSystem& f) {
         t.WriteFile("gen/lkd1.kpd", kDefinition);
         f.hooks[t.Path("gen/lkd1.kpd")].failSeekNumber = 2;
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) {
         return testing_support::DefinitionSeekError(t.Path("gen/lkd1.kpd"));
     }},
    {"DefinitionVersionReadFails",
     [](const TempTree& t, testing_support::TestFileSystem& f) {
         t.WriteFile("gen/lkd1.kpd", kDefinition);
         f.hooks[t.Path("gen/lkd1.kpd")].failReadNumber = 2;
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) {
         return testing_support::DefinitionReadError(t.Path("gen/lkd1.kpd"));
     }},
};

class ReaderFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(ReaderFailureTest, ShowsTheMessageWritesNoLineAndTheRunGoesOn) {
    CheckReaderFailure(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryReaderMessage, ReaderFailureTest, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.label); });

// Files changing under the run, by real file operations made at a chosen moment.
TEST(ChangingFiles, ToolVanishingBeforeTheOpenGivesOpenError) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));
    testing_support::TestFileSystem files;
    const std::string path = tree.Path("bin/kplr.exe");
    files.hooks[path].beforeOpen = [&] { std::filesystem::remove(testing_support::FsPath(path)); };

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_EQ(result.messages, std::vector<std::string>{testing_support::ScanOpenError(path)});
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0));
}

TEST(ChangingFiles, ToolShrinkingDuringTheScanKeepsWhatWasRead) {
    TempTree tree;
    const std::size_t size = 8 << 20;
    tree.WriteFile("bin/kplr.exe", TwoEndedImage(size));
    testing_support::TestFileSystem files;
    const std::string path = tree.Path("bin/kplr.exe");
    long firstRead = 0;
    files.hooks[path].afterRead = [&](int number, long delivered) {
        if (number == 1) {
            firstRead = delivered;
            std::filesystem::resize_file(testing_support::FsPath(path), delivered + 10);
        }
    };

    auto result = testing_support::RunOver(tree.Root(), files);

    ASSERT_LT(firstRead, static_cast<long>(size)) << "the scanner read the file in one go";
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list,
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("X first"));
    EXPECT_EQ(files.readLogs[path].delivered, firstRead + 10);
}

TEST(ChangingFiles, ToolGrowingDuringTheScanIsReadToItsNewEnd) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", TwoEndedImage(8 << 20));
    testing_support::TestFileSystem files;
    const std::string path = tree.Path("bin/kplr.exe");
    files.hooks[path].afterRead = [&](int number, long) {
        if (number == 1) {
            std::ofstream(testing_support::FsPath(path), std::ios::binary | std::ios::app)
                << std::string("@(#) Xgrown\0", 12);
        }
    };

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) +
                               ExpectedMarkerLine("X first") + ExpectedMarkerLine("X last") +
                               ExpectedMarkerLine("Xgrown"));
}

TEST(ChangingFiles, DefinitionShrunkBeforeTheReadGivesFieldsFromTheBytesLeft) {
    TempTree tree;
    tree.WriteFile("gen/lkd1.kpd", testing_support::OtherDefinition("1.23456", "NAME"));
    testing_support::TestFileSystem files;
    const std::string path = tree.Path("gen/lkd1.kpd");
    // Cut inside the version field: its first four bytes remain, the name field is gone.
    files.hooks[path].beforeOpen = [&] {
        std::filesystem::resize_file(testing_support::FsPath(path), 60);
    };

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) +
                               ExpectedDefinitionLine("lkd1.kpd", "1.23", ""));
}

}  // namespace
