// Reader failures only POSIX shows: the kernel's own read error (/proc/self/mem, a regular
// file whose read at offset 0 fails with EIO), and a pipe put in a definition file's place
// before its open.
#include <unistd.h>

#include <gtest/gtest.h>

#include "hostile/reader_failure_cases.hpp"
#include "support/posix/special_entries.hpp"

namespace {

using reader_failures::CheckReaderFailure;
using reader_failures::FailureCase;
using testing_support::ExpectedBanner;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;

const std::string kDefinition = testing_support::OtherDefinition("1.00", "NAME");

const FailureCase kFailures[] = {
    {"ScannerReadFailsOnUnmappedMemory",
     [](const TempTree& t, testing_support::TestFileSystem&) {
         t.Symlink("/proc/self/mem", "bin/kplr.exe");
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) { return testing_support::ScanReadError(t.Path("bin/kplr.exe")); }},
    {"DefinitionReadFailsOnUnmappedMemory",
     [](const TempTree& t, testing_support::TestFileSystem&) {
         t.Symlink("/proc/self/mem", "gen/lkd1.kpd");
     },
     [](const TempTree&) { return ExpectedProductHeading(0); },
     [](const TempTree& t) {
         return testing_support::DefinitionReadError(t.Path("gen/lkd1.kpd"));
     }},
};

class KernelReadFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(KernelReadFailureTest, ShowsTheMessageWritesNoLineAndTheRunGoesOn) {
    CheckReaderFailure(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryReaderMessage, KernelReadFailureTest, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.label); });

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

}  // namespace
