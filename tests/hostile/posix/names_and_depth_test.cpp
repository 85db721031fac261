// Names with blanks, line feeds, control characters and bytes that are no UTF-8, names of the
// longest length an entry may have, and install directories deeper than the path limit.
#include <gtest/gtest.h>
#include <limits.h>

#include <map>

#include "platform/dir_search.hpp"
#include "support/list_rules.hpp"
#include "support/posix/special_entries.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedConverterHeading;
using testing_support::ExpectedDefinitionLine;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

// The longest name a directory entry may have, matching the ＫＰＬ－Ｒ definition pattern.
const std::string kLongDefinitionName = "lkd" + std::string(248, 'n') + ".kpd";
const std::string kLongConverterName = "komf" + std::string(247, 'c') + ".exe";
static_assert(NAME_MAX == 255);

TEST(Names, OddDefinitionFileNamesAreListedAsStored) {
    TempTree tree;
    // Name on disk, and the bytes the list holds for it: UTF-8 becomes Shift-JIS, bytes that
    // are no UTF-8 are kept, an LF is stored as CR LF like every LF of the list.
    const std::map<std::string, std::string> names = {
        {"lkd with  blanks .kpd", "lkd with  blanks .kpd"},
        {"lkd\nline\nfeeds.kpd", "lkd\r\nline\r\nfeeds.kpd"},
        {"lkd\t\r\x01.kpd", "lkd\t\r\x01.kpd"},
        {"lkd\x80\xff\xfe.kpd", "lkd\x80\xff\xfe.kpd"},
        {"lkd\xe5\xae\x9a\xe7\xbe\xa9.kpd", "lkd\x92\xe8\x8b\x60.kpd"},  // 定義
        {kLongDefinitionName, kLongDefinitionName},
    };
    int i = 0;
    std::map<std::string, std::string> definitionNames;
    for (const auto& [name, stored] : names) {
        definitionNames[name] = "N" + std::to_string(i++);
        tree.WriteFile("gen/" + name,
                       testing_support::OtherDefinition("1.0", definitionNames[name]));
    }

    auto result = testing_support::RunOver(tree.Root());

    std::string expected = ExpectedBanner() + ExpectedProductHeading(0);
    // Lines come in the directory search's order.
    auto order = platform::FindMatches(tree.Path("gen/lkd*.kpd")).names;
    ASSERT_EQ(order.size(), names.size());
    for (const auto& name : order) {
        expected += ExpectedDefinitionLine(names.at(name), "1.0", definitionNames.at(name));
    }
    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, expected);
}

TEST(Names, OddConverterNamesAreScannedAndNamedWholeInMessages) {
    TempTree tree;
    tree.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));
    tree.WriteFile("bin/komf \n\xfe.exe", testing_support::ToolImage({"X odd converter"}));
    const std::string fifo = tree.Path("bin/komf\nfifo\xff.exe");
    testing_support::MakeFifo(fifo);

    auto result = testing_support::RunOver(tree.Root());

    EXPECT_EQ(result.messages, std::vector<std::string>{testing_support::ScanOpenError(fifo)});
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) +
                               ExpectedMarkerLine("X kplr") + ExpectedConverterHeading() +
                               ExpectedMarkerLine("X odd converter"));
}

TEST(Depth, TreeFarBeyond255BytesIsListedWhole) {
    TempTree tree;
    testing_support::DeepDir deep(tree.Root(), 1500);
    deep.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr deep"}));
    deep.WriteFile("gen/" + kLongDefinitionName, testing_support::OtherDefinition("2.0", "DEEP"));
    deep.WriteFile("bin/" + kLongConverterName, testing_support::ToolImage({"X komf deep"}));

    auto result = testing_support::RunOver(deep.Path());

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(0) +
                               ExpectedMarkerLine("X kplr deep") +
                               ExpectedDefinitionLine(kLongDefinitionName, "2.0", "DEEP") +
                               ExpectedConverterHeading() + ExpectedMarkerLine("X komf deep"));
}

// Whole paths are handed to the system, so a file whose path passes the system's limit
// cannot be opened: it gets the open-error message with its full path, like any file that
// cannot be opened, and the run goes on.
TEST(Depth, FilesWhosePathsPassThePathLimitGetOpenErrors) {
    TempTree tree;
    testing_support::DeepDir deep(tree.Root(), PATH_MAX - 200);
    deep.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));
    deep.WriteFile("gen/lkd1.kpd", testing_support::OtherDefinition("1.0", "SHORT"));
    deep.WriteFile("gen/" + kLongDefinitionName, testing_support::OtherDefinition("2.0", "LONG"));
    deep.WriteFile("bin/" + kLongConverterName, testing_support::ToolImage({"X komf"}));
    const std::string longDefinition = deep.Path() + "/gen/" + kLongDefinitionName;
    const std::string longConverter = deep.Path() + "/bin/" + kLongConverterName;
    ASSERT_GE(longDefinition.size(), std::size_t{PATH_MAX});

    auto result = testing_support::RunOver(deep.Path());

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_EQ(result.messages,
              (std::vector<std::string>{testing_support::DefinitionOpenError(longDefinition),
                                        testing_support::ScanOpenError(longConverter)}));
    EXPECT_EQ(result.list,
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("X kplr") +
                  ExpectedDefinitionLine("lkd1.kpd", "1.0", "SHORT") + ExpectedConverterHeading());
}

class InstallDirBeyondPathLimitTest : public testing::TestWithParam<std::size_t> {};

TEST_P(InstallDirBeyondPathLimitTest, GivesCreateErrorAndNothingElse) {
    TempTree tree;
    testing_support::DeepDir deep(tree.Root(), GetParam());
    deep.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));

    auto result = testing_support::RunOver(deep.Path());

    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages, std::vector<std::string>{
                                   testing_support::ListCreateError(deep.Path() + "/version.lis")});
}

// Just short enough for the directory, too long for the list's path; and far beyond.
INSTANTIATE_TEST_SUITE_P(Lengths, InstallDirBeyondPathLimitTest,
                         testing::Values(std::size_t{PATH_MAX - 8}, std::size_t{3 * PATH_MAX}));

}  // namespace
