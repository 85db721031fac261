// Whole runs over real install trees: which entries are taken up, in which order, and what
// the list file and the messages say.
#include "versionlist/version_list.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "platform/paths.hpp"
#include "support/list_rules.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace {

using namespace std::string_literals;
using namespace testing_support;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using versionlist::RunOutcome;

const std::string kSeparator(1, platform::kPathSeparator);

class VersionListTest : public ::testing::Test {
protected:
    RunOutcome Run() { return Run(tree.Root()); }
    RunOutcome Run(const std::string& field) {
        const auto run = RunOver(field, files);
        messages = run.messages;
        listPath = run.result.listPath;
        return run.outcome;
    }
    std::string List() const { return tree.ReadFile("version.lis"); }

    TempTree tree;
    TestFileSystem files;
    std::vector<std::string> messages;
    std::string listPath;
};

TEST_F(VersionListTest, WritesEverySectionInCatalogueOrder) {
    tree.WriteFile("bin/kplmek.exe", ToolImage({"XKPLMEK V2.03"}));
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10", "XKPL-R lib V2.00"}));
    tree.WriteFile("bin/kowist", ToolImage({"XKOWIST V1.00"}));
    tree.WriteFile("gen/mkd0002.kmd", KomaDefinition("V850    ", "0102"));
    tree.WriteFile("gen/MKD0001.KMD", KomaDefinition("SH7604AB", "0310"));
    tree.WriteFile("gen/lkd0001.kpd", OtherDefinition("V1.00", "== SH7000 (std)"));
    tree.WriteFile("bin/komf86.exe", ToolImage({"XOMF86 V1.1"}));
    tree.WriteFile("bin/KOMF68K.EXE", ToolImage({"XOMF68K V1.3"}));

    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_THAT(messages, IsEmpty());
    EXPECT_EQ(List(),
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10") +
                  ExpectedMarkerLine("XKPL-R lib V2.00") + ExpectedMarkerLine("XKPLMEK V2.03") +
                  ExpectedDefinitionLine("lkd0001.kpd", "V1.00", "SH7000 ") +
                  ExpectedProductHeading(1) + ExpectedMarkerLine("XKOWIST V1.00") +
                  ExpectedDefinitionLine("MKD0001.KMD", "V03.10", "SH7604AB") +
                  ExpectedDefinitionLine("mkd0002.kmd", "V01.02", "V850") +
                  ExpectedConverterHeading() + ExpectedMarkerLine("XOMF68K V1.3") +
                  ExpectedMarkerLine("XOMF86 V1.1"));
}

TEST_F(VersionListTest, ASharedToolAloneCountsAsFoundButWritesNothing) {
    tree.WriteFile("bin/kmuwa.exe", ToolImage({"XKMUWA V1.07"}));
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner());
    EXPECT_THAT(messages, IsEmpty());
}

TEST_F(VersionListTest, ASharedToolIsListedUnderEveryCategoryWhoseLeadIsPresent) {
    tree.WriteFile("bin/ktunr.exe", ToolImage({"XKTUN-R V1.50"}));
    tree.WriteFile("bin/kfelr.exe", ToolImage({"XKFEL-R V1.00"}));
    tree.WriteFile("bin/KMUWA.EXE", ToolImage({"XKMUWA V1.07"}));  // letter case as stored
    tree.WriteFile("bin/kpreb.exe", ToolImage({"XKPREB V0.98"}));  // no lead of its own
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(2) +
                          ExpectedMarkerLine("XKTUN-R V1.50") + ExpectedMarkerLine("XKMUWA V1.07") +
                          ExpectedProductHeading(3) + ExpectedMarkerLine("XKFEL-R V1.00") +
                          ExpectedMarkerLine("XKMUWA V1.07"));
}

TEST_F(VersionListTest, LeadToolBeforeSharedToolsAndOtherToolsWithoutLead) {
    tree.WriteFile("bin/kwohr.exe", ToolImage({"XKWOH-R V1.0"}));
    tree.WriteFile("bin/kpreb.exe", ToolImage({"XKPREB V0.98"}));
    tree.WriteFile("bin/kmuwa.exe", ToolImage({"XKMUWA V1.07"}));
    tree.WriteFile("bin/kobin.exe", ToolImage({"XKOBIN V3.02"}));  // without komar.exe
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(1) +
                          ExpectedMarkerLine("XKOBIN V3.02") + ExpectedProductHeading(4) +
                          ExpectedMarkerLine("XKWOH-R V1.0") + ExpectedMarkerLine("XKPREB V0.98") +
                          ExpectedMarkerLine("XKMUWA V1.07"));
}

TEST_F(VersionListTest, HeadingStandsForEntriesThatYieldNoLine) {
    tree.WriteFile("bin/knisr.exe", "no markers at all");
    tree.MakeDir("bin/ktunr.exe");  // a directory bearing a tool's name counts as the tool
    tree.WriteFile("gen/fkd1.ktd", OtherDefinition("V1", "FEL"));
    tree.WriteFile("gen/nkd1.ktd", OtherDefinition("V5.0", "NIS = x"));
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(2) + ExpectedProductHeading(3) +
                          ExpectedDefinitionLine("fkd1.ktd", "V1", "FEL") +
                          ExpectedProductHeading(5) +
                          ExpectedDefinitionLine("nkd1.ktd", "V5.0", "NIS"));
    EXPECT_THAT(messages, ElementsAre("[" + tree.Path("bin/ktunr.exe") + "] Open Error !!\n"));
}

TEST_F(VersionListTest, OnlyConvertersIsNothingFound) {
    tree.WriteFile("bin/komf86.exe", ToolImage({"XOMF86 V1.1"}));
    EXPECT_EQ(Run(), RunOutcome::kNothingFound);
    EXPECT_EQ(List(),
              ExpectedBanner() + ExpectedConverterHeading() + ExpectedMarkerLine("XOMF86 V1.1"));
    EXPECT_THAT(messages, ElementsAre(std::string(kNothingFound)));
}

TEST_F(VersionListTest, EachRunRewritesTheListFromEmpty) {
    tree.WriteFile("version.lis", std::string(5000, 'o'));
    EXPECT_EQ(Run(), RunOutcome::kNothingFound);
    EXPECT_EQ(List(), ExpectedBanner());
}

TEST_F(VersionListTest, AMissingInstallDirectoryIsACreateErrorAndNothingElse) {
    EXPECT_EQ(Run(tree.Path("missing")), RunOutcome::kCreateFailed);
    EXPECT_THAT(messages,
                ElementsAre("List File[" + tree.Path("missing/version.lis") + "] Create Error\n"));
    EXPECT_FALSE(tree.Exists("missing"));
}

TEST_F(VersionListTest, OneTrailingSeparatorIsRemoved) {
    Run(tree.Root() + kSeparator);
    EXPECT_EQ(listPath, tree.Path("version.lis"));
    Run(tree.Root() + kSeparator + kSeparator);
    EXPECT_EQ(listPath, tree.Root() + kSeparator + kSeparator + "version.lis");
    // "/" is a separator on every system.
    Run(tree.Root() + "/");
    EXPECT_EQ(listPath, tree.Path("version.lis"));
}

// The field is UTF-8, in which no byte of a multi-byte character can pass for a separator: a
// directory ending in "ソ" (Shift-JIS 0x83 0x5C, whose second byte is a backslash) keeps it,
// and only a real separator after it is removed.
TEST_F(VersionListTest, AFieldEndingInADoubleByteCharacterKeepsIt) {
    const std::string dir = tree.Path("\u30BD");
    tree.WriteFile("\u30BD/bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    EXPECT_EQ(Run(dir), RunOutcome::kFound);
    EXPECT_EQ(listPath, tree.Path("\u30BD/version.lis"));
    EXPECT_EQ(Run(dir + kSeparator), RunOutcome::kFound);
    EXPECT_EQ(listPath, tree.Path("\u30BD/version.lis"));
    EXPECT_EQ(tree.ReadFile("\u30BD/version.lis"),
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10"));
}

// Japanese names everywhere: the install directory's, and a definition file's, which the
// list holds in Shift-JIS.
TEST_F(VersionListTest, JapaneseNamesAreListedInShiftJis) {
    tree.WriteFile("\u30B3\u30DE/gen/lkd\u5B9A\u7FA9.kpd", OtherDefinition("V1.00", "SH"));
    tree.WriteFile("\u30B3\u30DE/bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    EXPECT_EQ(Run(tree.Path("\u30B3\u30DE")), RunOutcome::kFound);
    EXPECT_THAT(messages, IsEmpty());
    EXPECT_EQ(tree.ReadFile("\u30B3\u30DE/version.lis"),
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10") +
                  ExpectedDefinitionLine("lkd\x92\xE8\x8B\x60.kpd", "V1.00", "SH"));
}

// An empty field names the root directory. The seam refuses the list there, so the test never
// writes into the machine's root, and shows the path the run asked for.
TEST_F(VersionListTest, AnEmptyFieldWritesTheListIntoTheRoot) {
    files.failCreate = true;
    EXPECT_EQ(Run(""), RunOutcome::kCreateFailed);
    EXPECT_THAT(files.createRequests, ElementsAre(kSeparator + "version.lis"));
    EXPECT_THAT(messages, ElementsAre(ListCreateError(kSeparator + "version.lis")));
}

// The field is a C string to the run: a NUL ends it, so nothing after one names a file.
TEST_F(VersionListTest, TheFieldEndsAtItsFirstNul) {
    tree.WriteFile("victim.txt", "must stay");
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    EXPECT_EQ(Run(tree.Root() + std::string(1, '\0') + "/victim.txt"), RunOutcome::kFound);
    EXPECT_EQ(listPath, tree.Path("version.lis"));
    EXPECT_EQ(tree.ReadFile("victim.txt"), "must stay");
    EXPECT_EQ(List(),
              ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10"));
}

TEST_F(VersionListTest, LongPathsAreUsedWhole) {
    std::string deep;
    for (int i = 0; i < 6; ++i) {
        deep += std::string(60, static_cast<char>('a' + i)) + "/";
    }
    deep += "suite";
    std::string name = "lkd" + std::string(200, 'n') + ".kpd";
    tree.WriteFile(deep + "/bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    tree.WriteFile(deep + "/gen/" + name, OtherDefinition("V1", "LONG"));
    EXPECT_EQ(Run(tree.Path(deep)), RunOutcome::kFound);
    EXPECT_THAT(messages, IsEmpty());
    EXPECT_EQ(tree.ReadFile(deep + "/version.lis"), ExpectedBanner() + ExpectedProductHeading(0) +
                                                        ExpectedMarkerLine("XKPL-R V2.10") +
                                                        ExpectedDefinitionLine(name, "V1", "LONG"));
}

TEST_F(VersionListTest, MarkersStraddlingReadBoundariesAreWrittenOnce) {
    std::string image(64 * 1024 - 3, '\x90');
    image += "@(#) XACROSS V1\0"s;
    image += std::string(3 * 64 * 1024, '\x90');
    image += "@(#) XLAST\0"s;
    tree.WriteFile("bin/kplr.exe", image);
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(0) +
                          ExpectedMarkerLine("XACROSS V1") + ExpectedMarkerLine("XLAST"));
}

TEST_F(VersionListTest, DefinitionFilesOfEveryLayoutAndShortFiles) {
    tree.WriteFile("gen/mkd1.kmd", "short");  // ends before its name field
    tree.WriteFile("gen/mkd2.kmd", KomaDefinition("AB\x1A"
                                                  "CDEFG",
                                                  "01\x1A"
                                                  "0"));
    tree.WriteFile("gen/tkd1.ktd", OtherDefinition("V2.01", "NAME\r\nMORE = x"));
    EXPECT_EQ(Run(), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(1) +
                          ExpectedDefinitionLine("mkd1.kmd", "V??.??", "") +
                          ExpectedDefinitionLine("mkd2.kmd", "V01.??", "AB") +
                          ExpectedProductHeading(2) +
                          // The CR LF read as LF is written as CR LF again.
                          ExpectedDefinitionLine("tkd1.ktd", "V2.01", "NAME\r\nMORE"));
}

TEST_F(VersionListTest, ReportCollectsWhatTheListHolds) {
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    tree.MakeDir("bin/kplsav.exe");
    tree.WriteFile("gen/lkd1.kpd", OtherDefinition("V1.00", "SH"));
    tree.WriteFile("bin/komf1.exe", ToolImage({"XOMF V1"}));
    const auto run = RunOver(tree.Root());
    EXPECT_EQ(run.outcome, RunOutcome::kFound);
    const auto& report = run.report;
    ASSERT_EQ(report.categories.size(), 1u);
    const auto& category = report.categories[0];
    EXPECT_EQ(category.index, 0u);
    ASSERT_EQ(category.tools.size(), 2u);
    EXPECT_EQ(category.tools[0].file, "kplr.exe");
    EXPECT_THAT(category.tools[0].markers, ElementsAre("XKPL-R V2.10"));
    EXPECT_TRUE(category.tools[0].readable);
    EXPECT_FALSE(category.tools[1].readable);
    ASSERT_EQ(category.definitions.size(), 1u);
    EXPECT_EQ(category.definitions[0].name, "SH");
    EXPECT_EQ(category.definitions[0].version, "V1.00");
    ASSERT_EQ(report.converters.size(), 1u);
    EXPECT_THAT(report.converters[0].markers, ElementsAre("XOMF V1"));
    EXPECT_THAT(report.failures,
                ElementsAre(versionlist::Failure{versionlist::FailureKind::kScanOpen,
                                                 tree.Path("bin/kplsav.exe")}));
    EXPECT_TRUE(report.result.readFailures);
    EXPECT_FALSE(report.result.searchFailures);
}

// The not-found outcome is no failure: the report keeps it apart.
TEST_F(VersionListTest, NothingFoundIsAnOutcomeNotAFailure) {
    const auto run = RunOver(tree.Root());
    EXPECT_EQ(run.outcome, RunOutcome::kNothingFound);
    EXPECT_THAT(run.report.failures, IsEmpty());
    EXPECT_EQ(run.report.result.outcome, RunOutcome::kNothingFound);
    EXPECT_THAT(run.messages, ElementsAre(std::string(kNothingFound)));
}

struct CutCase {
    std::string path;
    std::string expected;
    // Quoted: a path ending in "\" would run on into the next line of a test listing.
    friend void PrintTo(const CutCase& c, std::ostream* os) { *os << '"' << c.path << '"'; }
};

class CutBinComponentTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutBinComponentTest, CutsAFinalBinComponent) {
    EXPECT_EQ(versionlist::CutBinComponent(GetParam().path), GetParam().expected);
}

// Written with "/", a separator on every system, and with the system's own.
CutCase WithSeparator(std::string path, std::string expected) {
    std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
    std::replace(expected.begin(), expected.end(), '/', platform::kPathSeparator);
    return CutCase{path, expected};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CutBinComponentTest,
    ::testing::Values(
        CutCase{"/opt/koma/bin", "/opt/koma"}, CutCase{"/opt/koma/BIN", "/opt/koma"},
        CutCase{"/opt/koma/Bin", "/opt/koma"}, CutCase{"/opt/koma/bin/", "/opt/koma/bin/"},
        CutCase{"/opt/koma/sbin", "/opt/koma/sbin"}, CutCase{"/opt/koma/bin2", "/opt/koma/bin2"},
        CutCase{"koma", "koma"}, CutCase{"/bin", ""}, WithSeparator("/koma/bin", "/koma"),
        WithSeparator("/koma/BIN/", "/koma/BIN/"), WithSeparator("/bin", ""),
        // UTF-8 holds no byte a separator could be mistaken for.
        WithSeparator("/\u30BD/bin", "/\u30BD"), WithSeparator("/koma/\u30BD", "/koma/\u30BD")));

}  // namespace
