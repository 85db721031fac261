// Whole runs over real install trees: which entries are taken up, in which order, and what
// the list file and the messages say.
#include "versionlist/version_list.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include <functional>

#include "platform/settings.hpp"
#include "support/list_rules.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace std::string_literals;
using namespace testing_support;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using versionlist::RunOutcome;

class VersionListTest : public ::testing::Test {
protected:
    RunOutcome Run() { return Run(tree.Root()); }
    RunOutcome Run(const std::string& field) {
        versionlist::VersionList list(presenter);
        RunOutcome outcome = list.WriteVersionList(field);
        listPath = list.ListPath;
        return outcome;
    }
    std::string List() const { return tree.ReadFile("version.lis"); }

    TempTree tree;
    RecordingPresenter presenter;
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
    EXPECT_THAT(presenter.messages, IsEmpty());
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
    EXPECT_THAT(presenter.messages, IsEmpty());
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
    EXPECT_THAT(presenter.messages,
                ElementsAre("[" + tree.Path("bin/ktunr.exe") + "] Open Error !!\n"));
}

TEST_F(VersionListTest, OnlyConvertersIsNothingFound) {
    tree.WriteFile("bin/komf86.exe", ToolImage({"XOMF86 V1.1"}));
    EXPECT_EQ(Run(), RunOutcome::kNothingFound);
    EXPECT_EQ(List(),
              ExpectedBanner() + ExpectedConverterHeading() + ExpectedMarkerLine("XOMF86 V1.1"));
    EXPECT_THAT(presenter.messages, ElementsAre("汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。"));
}

TEST_F(VersionListTest, EachRunRewritesTheListFromEmpty) {
    tree.WriteFile("version.lis", std::string(5000, 'o'));
    EXPECT_EQ(Run(), RunOutcome::kNothingFound);
    EXPECT_EQ(List(), ExpectedBanner());
}

TEST_F(VersionListTest, AMissingInstallDirectoryIsACreateErrorAndNothingElse) {
    EXPECT_EQ(Run(tree.Path("missing")), RunOutcome::kCreateFailed);
    EXPECT_THAT(presenter.messages,
                ElementsAre("List File[" + tree.Path("missing/version.lis") + "] Create Error\n"));
    EXPECT_FALSE(tree.Exists("missing"));
}

TEST_F(VersionListTest, OneTrailingSeparatorIsRemoved) {
    Run(tree.Root() + "/");
    EXPECT_EQ(listPath, tree.Path("version.lis"));
    Run(tree.Root() + "//");
    EXPECT_EQ(listPath, tree.Root() + "//version.lis");
    Run("");
    EXPECT_EQ(listPath, "/version.lis");
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
    EXPECT_THAT(presenter.messages, IsEmpty());
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

// A file system whose operations fail where the real one cannot be made to fail as root.
class FailingFileSystem final : public platform::FileSystem {
public:
    enum class Failure { kNone, kSeek, kRead, kReadAfterFirstChunk, kWrite, kClose };
    explicit FailingFileSystem(Failure failure) : failure_(failure) {}

    std::unique_ptr<platform::InputFile> OpenBinary(const std::string& path) override {
        auto real = platform::SystemFileSystem().OpenBinary(path);
        if (!real) {
            return nullptr;
        }
        return std::make_unique<Input>(std::move(real), failure_);
    }
    std::unique_ptr<platform::OutputFile> Create(const std::string& path) override {
        auto real = platform::SystemFileSystem().Create(path);
        if (!real) {
            return nullptr;
        }
        return std::make_unique<Output>(std::move(real), failure_);
    }

private:
    class Input final : public platform::InputFile {
    public:
        Input(std::unique_ptr<platform::InputFile> real, Failure failure)
            : real_(std::move(real)), failure_(failure) {}
        long Read(char* buffer, std::size_t count) override {
            if (failure_ == Failure::kRead ||
                (failure_ == Failure::kReadAfterFirstChunk && reads_ > 0)) {
                return -1;
            }
            ++reads_;
            return real_->Read(buffer, count);
        }
        bool Seek(std::int64_t offset) override {
            return failure_ != Failure::kSeek && real_->Seek(offset);
        }

    private:
        std::unique_ptr<platform::InputFile> real_;
        Failure failure_;
        int reads_ = 0;
    };
    class Output final : public platform::OutputFile {
    public:
        Output(std::unique_ptr<platform::OutputFile> real, Failure failure)
            : real_(std::move(real)), failure_(failure) {}
        bool Write(const char* data, std::size_t count) override {
            return failure_ != Failure::kWrite && real_->Write(data, count);
        }
        bool Close() override { return real_->Close() && failure_ != Failure::kClose; }

    private:
        std::unique_ptr<platform::OutputFile> real_;
        Failure failure_;
    };

    Failure failure_;
};

using Failure = FailingFileSystem::Failure;

struct FailureCase {
    const char* name;
    Failure failure;
    std::string file;     // relative to the install directory
    std::string message;  // format with %s for the file's path
    RunOutcome outcome;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

class VersionListFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(VersionListFailureTest, IsReportedWithThePathAndTheRunGoesOn) {
    const auto& c = GetParam();
    TempTree tree;
    tree.WriteFile(
        c.file, c.file.find("gen/") == 0 ? OtherDefinition("V1", "NAME") : ToolImage({"XTOOL V1"}));
    RecordingPresenter presenter;
    FailingFileSystem fileSystem(c.failure);
    versionlist::VersionList list(presenter, fileSystem);
    EXPECT_EQ(list.WriteVersionList(tree.Root()), c.outcome);
    std::string expected = c.message;
    std::string path = c.file == "version.lis" ? list.ListPath : tree.Path(c.file);
    expected.replace(expected.find("%s"), 2, path);
    EXPECT_THAT(presenter.messages, ElementsAre(expected));
    EXPECT_TRUE(list.Report.readFailures || c.file == "version.lis");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, VersionListFailureTest,
    ::testing::Values(FailureCase{"ScanRead", Failure::kRead, "bin/kplr.exe",
                                  " [%s] Read Error !! \n", RunOutcome::kFound},
                      FailureCase{"DefinitionSeek", Failure::kSeek, "gen/tkd1.ktd",
                                  " 定義体[%s] Lseek Error !! \n", RunOutcome::kFound},
                      FailureCase{"DefinitionRead", Failure::kRead, "gen/tkd1.ktd",
                                  " 定義体[%s] Read Error !! \n", RunOutcome::kFound},
                      FailureCase{"ListWrite", Failure::kWrite, "version.lis",
                                  "List File[%s] Write Error\n", RunOutcome::kWriteFailed},
                      FailureCase{"ListClose", Failure::kClose, "version.lis",
                                  "List File[%s] Write Error\n", RunOutcome::kWriteFailed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VersionListTest, FailedDefinitionReadsWriteNoLineButKeepTheHeading) {
    tree.WriteFile("gen/tkd1.ktd", OtherDefinition("V1", "NAME"));
    FailingFileSystem fileSystem(Failure::kSeek);
    versionlist::VersionList list(presenter, fileSystem);
    EXPECT_EQ(list.WriteVersionList(tree.Root()), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(2));
}

TEST_F(VersionListTest, MarkersBeforeAReadErrorAreKept) {
    std::string image = "@(#) XEARLY\0"s + std::string(4 * 1024 * 1024, '\x90') + "@(#) XLATE\0"s;
    tree.WriteFile("bin/kplr.exe", image);
    FailingFileSystem fileSystem(Failure::kReadAfterFirstChunk);
    versionlist::VersionList list(presenter, fileSystem);
    EXPECT_EQ(list.WriteVersionList(tree.Root()), RunOutcome::kFound);
    EXPECT_EQ(List(), ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XEARLY"));
    EXPECT_THAT(presenter.messages,
                ElementsAre(" [" + tree.Path("bin/kplr.exe") + "] Read Error !! \n"));
}

TEST_F(VersionListTest, AFullDiskIsAWriteErrorNotAList) {
    tree.Symlink("/dev/full", "version.lis");
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    EXPECT_EQ(Run(), RunOutcome::kWriteFailed);
    EXPECT_THAT(presenter.messages,
                ElementsAre("List File[" + tree.Path("version.lis") + "] Write Error\n"));
}

TEST_F(VersionListTest, ReportCollectsWhatTheListHolds) {
    tree.WriteFile("bin/kplr.exe", ToolImage({"XKPL-R V2.10"}));
    tree.MakeDir("bin/kplsav.exe");
    tree.WriteFile("gen/lkd1.kpd", OtherDefinition("V1.00", "SH"));
    tree.WriteFile("bin/komf1.exe", ToolImage({"XOMF V1"}));
    versionlist::VersionList list(presenter);
    list.CollectReport = true;
    EXPECT_EQ(list.WriteVersionList(tree.Root()), RunOutcome::kFound);
    const auto& report = list.Report;
    ASSERT_EQ(report.categories.size(), 1u);
    const auto& category = report.categories[0];
    EXPECT_EQ(category.index, 0u);
    ASSERT_EQ(category.tools.size(), 2u);
    EXPECT_EQ(category.tools[0].file, "kplr.exe");
    EXPECT_THAT(category.tools[0].markers, ElementsAre("XKPL-R V2.10"));
    EXPECT_TRUE(category.tools[1].failed);
    ASSERT_EQ(category.definitions.size(), 1u);
    EXPECT_EQ(category.definitions[0].name, "SH");
    EXPECT_EQ(category.definitions[0].version, "V1.00");
    ASSERT_EQ(report.converters.size(), 1u);
    EXPECT_THAT(report.converters[0].markers, ElementsAre("XOMF V1"));
    EXPECT_TRUE(report.readFailures);
}

struct CutCase {
    std::string path;
    std::string expected;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const CutCase& c, std::ostream* os) { *os << c.path; }
};

class CutBinComponentTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutBinComponentTest, CutsAFinalBinComponent) {
    EXPECT_EQ(versionlist::CutBinComponent(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutBinComponentTest,
                         ::testing::Values(CutCase{"/opt/koma/bin", "/opt/koma"},
                                           CutCase{"/opt/koma/BIN", "/opt/koma"},
                                           CutCase{"/opt/koma/Bin", "/opt/koma"},
                                           CutCase{"/opt/koma/bin/", "/opt/koma/bin/"},
                                           CutCase{"/opt/koma/sbin", "/opt/koma/sbin"},
                                           CutCase{"/opt/koma/bin2", "/opt/koma/bin2"},
                                           CutCase{"koma", "koma"}, CutCase{"/bin", ""}));

TEST(FindInstallDir, TakesHomeThenPathThenTheCurrentDirectory) {
    TempTree tree;
    ScopedEnv windir("WINDIR", tree.Root().c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", tree.Path("none").c_str());
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nHOME=/opt/koma/bin\nPATH=/other/bin\n");
    EXPECT_EQ(versionlist::FindInstallDir(), "/opt/koma/bin");  // HOME unchanged
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nHOME=\nPATH=/opt/koma/Bin\n");
    EXPECT_EQ(versionlist::FindInstallDir(), "/opt/koma");
    tree.WriteFile("rivazivu.ini", "[SYSTEM]\nPATH=/bin\n");
    EXPECT_EQ(versionlist::FindInstallDir(), "");  // the current directory is not consulted
    tree.WriteFile("rivazivu.ini", "[OTHER]\nHOME=/x\n");
    EXPECT_EQ(versionlist::FindInstallDir(), platform::CurrentDirectory());
}

}  // namespace
