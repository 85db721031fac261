// Every failure message of the two readers, each made by an operation that really fails, and
// files that vanish, shrink or grow between the directory search and the read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "support/list_rules.hpp"
#include "support/posix/special_entries.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedDefinitionLine;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

// A tool image larger than any single read: one marker at its start, one at its end.
std::string TwoEndedImage(std::size_t size) {
    std::string image = testing_support::ToolImage({"X first"});
    image.resize(size - 32, '.');
    image += "@(#) X last";
    image.push_back('\0');
    image.resize(size, '.');
    return image;
}

struct FailureCase {
    const char* label;
    // Builds the tree and arms the seam (if the real system cannot fail this way as root).
    std::function<void(const TempTree&, testing_support::TestFileSystem&)> make;
    // The list after the banner and the messages, given the tree.
    std::function<std::string(const TempTree&)> list;
    std::function<std::string(const TempTree&)> message;
};

const std::string kDefinition = testing_support::OtherDefinition("1.00", "NAME");

const FailureCase kFailures[] = {
    {"ScannerOpenFailsOnDirectory",
     [](const TempTree& t, testing_support::TestFileSystem&) { t.MakeDir("bin/kplr.exe"); },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) { return testing_support::ScanOpenError(t.Path("bin/kplr.exe")); }},
    // /proc/self/mem is a regular file whose read at offset 0 fails with EIO: the kernel's
    // own read error, no seam involved.
    {"ScannerReadFailsOnUnmappedMemory",
     [](const TempTree& t, testing_support::TestFileSystem&) {
         t.Symlink("/proc/self/mem", "bin/kplr.exe");
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) { return testing_support::ScanReadError(t.Path("bin/kplr.exe")); }},
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
    {"DefinitionReadFailsOnUnmappedMemory",
     [](const TempTree& t, testing_support::TestFileSystem&) {
         t.Symlink("/proc/self/mem", "gen/lkd1.kpd");
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) {
         return testing_support::DefinitionReadError(t.Path("gen/lkd1.kpd"));
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
    TempTree tree;
    testing_support::TestFileSystem files;
    GetParam().make(tree, files);
    // A later file of the same run is read as usual.
    tree.WriteFile("bin/komf1.exe", testing_support::ToolImage({"X komf1"}));

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_EQ(result.messages, std::vector<std::string>{GetParam().message(tree)});
    EXPECT_EQ(result.list, ExpectedBanner() + GetParam().list(tree) +
                               testing_support::ExpectedConverterHeading() +
                               ExpectedMarkerLine("X komf1"));
    EXPECT_TRUE(result.result.readFailures);
}

INSTANTIATE_TEST_SUITE_P(EveryReaderMessage, ReaderFailureTest, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.label); });

// Files changing under the run, by real file operations made at a chosen moment.
TEST(ChangingFiles, ToolVanishingBeforeTheOpenGivesOpenError) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));
    testing_support::TestFileSystem files;
    const std::string path = tree.Path("bin/kplr.exe");
    files.hooks[path].beforeOpen = [&] { ::unlink(path.c_str()); };

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_EQ(result.messages, std::vector<std::string>{testing_support::ScanOpenError(path)});
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0));
}

TEST(ChangingFiles, DefinitionReplacedByFifoBeforeTheOpenGivesOpenErrorWithoutBlocking) {
    TempTree tree;
    tree.WriteFile("gen/lkd1.kpd", kDefinition);
    testing_support::TestFileSystem files;
    const std::string path = tree.Path("gen/lkd1.kpd");
    files.hooks[path].beforeOpen = [&] {
        ::unlink(path.c_str());
        testing_support::MakeFifo(path);
    };

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.messages,
              std::vector<std::string>{testing_support::DefinitionOpenError(path)});
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
            ASSERT_EQ(::truncate(path.c_str(), delivered + 10), 0);
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
            std::ofstream(path, std::ios::binary | std::ios::app)
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
    files.hooks[path].beforeOpen = [&] { ASSERT_EQ(::truncate(path.c_str(), 60), 0); };

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) +
                               ExpectedDefinitionLine("lkd1.kpd", "1.23", ""));
}

}  // namespace
