// The toolkit-free shell code both desktop programs share: the arguments text and the batch
// switch, the Browse rule, subdirectories, the message caption, the help page's address, and
// the main dialog's work over a recorded view. Cases only POSIX or only Windows can have are in
// posix/ and win32/.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "shell/batch_switch.hpp"
#include "shell/directories.hpp"
#include "shell/help_topic.hpp"
#include "shell/list_main.hpp"
#include "shell/list_run.hpp"
#include "shell/message_caption.hpp"
#include "shell/shell_common_test_support.hpp"
#include "support/list_rules.hpp"
#include "support/settings_file.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace {

using shell_test::CurrentDirectoryGuard;
using shell_test::kSep;
using shell_test::Strings;
using testing_support::RecordingPresenter;
using testing_support::ScopedSettingsFile;
using testing_support::TempTree;

// The arguments text of "pelkor" started with args.
std::string TextOf(const Strings& args) {
    std::vector<const char*> argv = {"pelkor"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    return shell::ArgumentsText(static_cast<int>(argv.size()), argv.data());
}

struct ArgumentsCase {
    const char* name;
    Strings args;
    std::string text;
    friend void PrintTo(const ArgumentsCase& c, std::ostream* os) { *os << c.name; }
};

class ArgumentsTextTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(ArgumentsTextTest, JoinsTheArgumentsLessLeadingControlCharacters) {
    EXPECT_EQ(TextOf(GetParam().args), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentsTextTest,
    ::testing::Values(ArgumentsCase{"None", {}, ""},
                      ArgumentsCase{"OneWord", {"-maruhi"}, "-maruhi"},
                      ArgumentsCase{"WordsJoinedByOneBlank", {"-maruhi", "a", "b"}, "-maruhi a b"},
                      ArgumentsCase{"LeadingBlanksAndTabsDropped", {" \t -maruhi"}, "-maruhi"},
                      ArgumentsCase{"LeadingControlCharactersDropped", {"\x01\x1f-x"}, "-x"},
                      ArgumentsCase{"EmptyFirstArgument", {"", "-maruhi"}, "-maruhi"},
                      ArgumentsCase{"InnerTabKept", {"-maruhi\tx"}, "-maruhi\tx"},
                      ArgumentsCase{"TrailingBlanksKept", {"a "}, "a "}),
    [](const auto& info) { return std::string(info.param.name); });

struct SwitchCase {
    const char* name;
    Strings args;
    bool batch;
    friend void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }
};

class BatchSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(BatchSwitchTest, FirstWordUpToABlankIsTheSwitch) {
    EXPECT_EQ(shell::IsBatchSwitch(TextOf(GetParam().args)), GetParam().batch);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchSwitchTest,
    ::testing::Values(
        SwitchCase{"SwitchAlone", {"-maruhi"}, true},
        SwitchCase{"SwitchThenWords", {"-maruhi", "x", "y"}, true},
        SwitchCase{"BlankInsideTheArgument", {"-maruhi x"}, true},
        SwitchCase{"BlanksAndTabsBefore", {"\t \t-maruhi"}, true},
        SwitchCase{"TabAfterTheSwitch", {"-maruhi\tx"}, false},
        SwitchCase{"Capitals", {"-MARUHI"}, false}, SwitchCase{"Slash", {"/maruhi"}, false},
        SwitchCase{"SecondWord", {"x", "-maruhi"}, false},
        SwitchCase{"LongerWord", {"-maruhiX"}, false}, SwitchCase{"ShorterWord", {"-maruh"}, false},
        SwitchCase{"TwelveCharacters", {"-maruhi12345"}, false}, SwitchCase{"Nothing", {}, false},
        // Qt's own options are judged as any other word: after the switch they
        // do not stop batch mode, before it they prevent it.
        SwitchCase{"QtOptionAfter", {"-maruhi", "-platform", "offscreen"}, true},
        SwitchCase{"QtOptionBefore", {"-style", "fusion", "-maruhi"}, false},
        SwitchCase{"QtReverseBefore", {"-reverse", "-maruhi"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CommandLineCase {
    const char* name;
    std::string commandLine;
    std::string text;
    friend void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }
};

class ArgumentsFromCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ArgumentsFromCommandLineTest, DropsTheProgramNameAndTheBlanksAfterIt) {
    EXPECT_EQ(shell::ArgumentsFromCommandLine(GetParam().commandLine), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentsFromCommandLineTest,
    ::testing::Values(
        CommandLineCase{"NameAlone", "pelkor.exe", ""},
        CommandLineCase{"NameThenSwitch", "pelkor.exe -maruhi", "-maruhi"},
        CommandLineCase{"QuotedNameWithBlanks", "\"C:\\Program Files\\pelkor.exe\" -maruhi x",
                        "-maruhi x"},
        // The quoted name ends at its closing mark, whatever follows it directly.
        CommandLineCase{"QuotedNameRunsToItsClosingMark", "\"a b\"-maruhi", "-maruhi"},
        CommandLineCase{"UnclosedQuote", "\"pelkor.exe -maruhi", ""},
        CommandLineCase{"TabsAndBlanksBeforeTheSwitch", "pelkor.exe \t \t-maruhi", "-maruhi"},
        CommandLineCase{"ControlCharacterEndsTheName", "pelkor.exe\x01\x1f-maruhi", "-maruhi"},
        CommandLineCase{"QuotesInTheArgumentsStay", "pelkor.exe \"-maruhi\"", "\"-maruhi\""},
        CommandLineCase{"TrailingBlanksKept", "pelkor.exe -maruhi ", "-maruhi "},
        CommandLineCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArgumentsFromCommandLine, IsJudgedAsTheBatchSwitchAsTyped) {
    EXPECT_TRUE(shell::IsBatchSwitch(shell::ArgumentsFromCommandLine("pelkor  -maruhi x")));
    EXPECT_FALSE(shell::IsBatchSwitch(shell::ArgumentsFromCommandLine("pelkor \"-maruhi\"")));
    EXPECT_FALSE(shell::IsBatchSwitch(shell::ArgumentsFromCommandLine("pelkor -maruhi\tx")));
    EXPECT_FALSE(shell::IsBatchSwitch(shell::ArgumentsFromCommandLine("\"-maruhi\" x")));
}

struct BrowseCase {
    const char* name;
    std::string field;
    std::string start;
    friend void PrintTo(const BrowseCase& c, std::ostream* os) { *os << c.name; }
};

class BrowseStartTextTest : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(BrowseStartTextTest, AppendsOneSeparatorUnlessTheLastByteIsOne) {
    EXPECT_EQ(shell::BrowseStartText(GetParam().field), GetParam().start);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowseStartTextTest,
    ::testing::Values(BrowseCase{"Empty", "", kSep}, BrowseCase{"LoneSeparator", kSep, kSep},
                      BrowseCase{"Directory", kSep + "opt", kSep + "opt" + kSep},
                      BrowseCase{"EndsInOne", kSep + "opt" + kSep, kSep + "opt" + kSep},
                      BrowseCase{"EndsInTwo", "opt" + kSep + kSep, "opt" + kSep + kSep},
                      BrowseCase{"Relative", "komar", "komar" + kSep},
                      // Only the last byte counts: a double-byte character whose second byte
                      // is the separator's gets none.
                      BrowseCase{"SecondByteOfADoubleByteCharacter", "d\x95" + kSep,
                                 "d\x95" + kSep},
                      BrowseCase{"NonUtf8Bytes", "\xff\xfe", "\xff\xfe" + kSep}),
    [](const auto& info) { return std::string(info.param.name); });

struct FollowCase {
    const char* name;
    shell::RunOutcome outcome;
    bool batchMode;
    shell::AfterRun after;
    friend void PrintTo(const FollowCase& c, std::ostream* os) { *os << c.name; }
};

class WhatFollowsRunTest : public ::testing::TestWithParam<FollowCase> {};

TEST_P(WhatFollowsRunTest, ByOutcomeAndBatchMode) {
    EXPECT_EQ(shell::WhatFollowsRun(GetParam().outcome, GetParam().batchMode), GetParam().after);
}

using shell::AfterRun;
using shell::RunOutcome;
INSTANTIATE_TEST_SUITE_P(
    Cases, WhatFollowsRunTest,
    ::testing::Values(
        FollowCase{"FoundInteractive", RunOutcome::kFound, false, AfterRun::kViewer},
        FollowCase{"FoundBatch", RunOutcome::kFound, true, AfterRun::kEditor},
        FollowCase{"NothingFoundInteractive", RunOutcome::kNothingFound, false, AfterRun::kNothing},
        FollowCase{"NothingFoundBatch", RunOutcome::kNothingFound, true, AfterRun::kNothing},
        FollowCase{"CreateFailed", RunOutcome::kCreateFailed, false, AfterRun::kNothing},
        FollowCase{"WriteFailedBatch", RunOutcome::kWriteFailed, true, AfterRun::kNothing}),
    [](const auto& info) { return std::string(info.param.name); });

struct CaptionCase {
    const char* name;
    std::string path;
    std::string caption;
    friend void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.name; }
};

class MessageCaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(MessageCaptionTest, IsTheExecutablesNameWithoutExtension) {
    EXPECT_EQ(shell::MessageCaption(GetParam().path), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageCaptionTest,
    ::testing::Values(CaptionCase{"Installed", "/usr/bin/pelkor", "pelkor"},
                      CaptionCase{"WithExtension", "/opt/koma/PELKOR.EXE", "PELKOR"},
                      CaptionCase{"OnlyTheLastExtension", "/a/pelkor.test.bin", "pelkor.test"},
                      CaptionCase{"DotInADirectory", "/x.y/pelkor", "pelkor"},
                      CaptionCase{"NameAlone", "pelkor.exe", "pelkor"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AnchorCase {
    const char* name;
    int topic;
    std::string anchor;
    friend void PrintTo(const AnchorCase& c, std::ostream* os) { *os << c.name; }
};

class HelpTopicAnchorTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(HelpTopicAnchorTest, NamesTheDialogsSection) {
    EXPECT_EQ(shell::HelpTopicAnchor(GetParam().topic), GetParam().anchor);
}

INSTANTIATE_TEST_SUITE_P(Cases, HelpTopicAnchorTest,
                         ::testing::Values(AnchorCase{"MainDialog", 0x20000 + 102, "main-dialog"},
                                           AnchorCase{"AboutBox", 0x20000 + 100, "about-box"},
                                           AnchorCase{"Viewer", 0x20000 + 129, ""},
                                           AnchorCase{"TemplateNumberAlone", 102, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UrlCase {
    const char* name;
    std::string path;
    std::string url;
    friend void PrintTo(const UrlCase& c, std::ostream* os) { *os << c.name; }
};

class FileUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(FileUrlTest, EncodesEverythingButUnreservedCharacters) {
    EXPECT_EQ(shell::FileUrl(GetParam().path), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileUrlTest,
    ::testing::Values(UrlCase{"Plain", "/usr/share/pelkor/help/pelkor.html",
                              "file:///usr/share/pelkor/help/pelkor.html"},
                      UrlCase{"Blanks", "/opt/KOMA R/pelkor.html",
                              "file:///opt/KOMA%20R/pelkor.html"},
                      // "#" and "%" in a directory's name would end or garble the path in the URL.
                      UrlCase{"HashAndPercent", "/a#b/c%d.html", "file:///a%23b/c%25d.html"},
                      UrlCase{"Japanese", "/\u30BD/p.html", "file:///%E3%82%BD/p.html"},
                      UrlCase{"Unreserved", "/a-b_c.d~e/F9", "file:///a-b_c.d~e/F9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpTopicUrl, PutsTheTopicsAnchorAfterThePage) {
    EXPECT_EQ(shell::HelpTopicUrl("/h/pelkor.html", 0x20000 + 102),
              "file:///h/pelkor.html#main-dialog");
    EXPECT_EQ(shell::HelpTopicUrl("/h/pelkor.html", 0x20000 + 100),
              "file:///h/pelkor.html#about-box");
    EXPECT_EQ(shell::HelpTopicUrl("/h/pelkor.html", 0x20000 + 129), "file:///h/pelkor.html");
}

TEST(Directories, SubdirectoriesInSearchOrderWithoutFiles) {
    TempTree tree;
    for (const char* dir : {"gamma", "Alpha", ".hidden", "beta/inner"}) {
        tree.MakeDir(dir);
    }
    tree.WriteFile("aardvark.txt", "");
    EXPECT_EQ(shell::Subdirectories(tree.Root()), (Strings{".hidden", "Alpha", "beta", "gamma"}));
    EXPECT_EQ(shell::Subdirectories(tree.Path("missing")), Strings{});
}

TEST(StartEditorOnList, GivesTheEditorAnAbsolutePath) {
    CurrentDirectoryGuard guard;
    TempTree tree;
    ASSERT_TRUE(platform::SetCurrentDirectory(tree.Root()));
    struct : platform::EditorLauncher {
        bool StartEditor(const std::string& path) override {
            paths.push_back(path);
            return true;
        }
        Strings paths;
    } editor;
    EXPECT_TRUE(shell::StartEditorOnList(editor, "-x" + kSep + "version.lis"));
    EXPECT_TRUE(shell::StartEditorOnList(editor, tree.Path("abs/+x/version.lis")));
    EXPECT_EQ(editor.paths,
              (Strings{tree.Path("-x/version.lis"), tree.Path("abs/+x/version.lis")}));
}

// Records each start of the editor instead of starting it.
class RecordingEditor final : public platform::EditorLauncher {
public:
    bool StartEditor(const std::string& path) override {
        paths.push_back(path);
        return true;
    }
    Strings paths;
};

// A main dialog that records what the shared code asks of it; the picker answers with
// pickerAnswer and notes where the process was while it ran.
class RecordedView final : public shell::ListMainView {
public:
    std::string InstallDirText() const override { return field; }
    void SetInstallDirText(const std::string& text) override { field = text; }
    void ShowListViewer(const std::string& listPath) override { viewers.push_back(listPath); }
    std::optional<std::string> RunDirectoryPicker(const std::string& labelText) override {
        pickerLabels.push_back(labelText);
        pickerCurrentDirs.push_back(platform::CurrentDirectory());
        return pickerAnswer;
    }

    std::string field;
    Strings viewers;
    Strings pickerLabels;
    Strings pickerCurrentDirs;
    std::optional<std::string> pickerAnswer;
};

class ListMainTest : public ::testing::Test {
protected:
    ListMainTest() {
        tree_.WriteFile("suite/bin/kplr.exe", testing_support::ToolImage({"XKPL-R V2.10"}));
        tree_.MakeDir("empty");
    }

    void Propose(const std::string& home) {
        settings_.reset();  // one file at a time
        settings_ = std::make_unique<ScopedSettingsFile>(tree_, "[SYSTEM]\nHOME=" + home + "\n");
    }

    CurrentDirectoryGuard guard_;
    TempTree tree_;
    std::unique_ptr<ScopedSettingsFile> settings_;
    RecordedView view_;
    RecordingPresenter presenter_;
    RecordingEditor editor_;
    shell::ListMain main_{view_, presenter_, editor_, platform::SystemFileSystem()};
};

TEST_F(ListMainTest, InteractiveStartProposesTheInstallDirectoryAndRunsNothing) {
    Propose(tree_.Path("suite"));
    EXPECT_TRUE(main_.OnInitDialog("-x -maruhi"));
    EXPECT_EQ(view_.field, tree_.Path("suite"));
    EXPECT_FALSE(main_.BatchMode);
    EXPECT_FALSE(tree_.Exists("suite/version.lis"));
    EXPECT_TRUE(view_.viewers.empty());
}

TEST_F(ListMainTest, BatchStartWritesTheListAndStartsTheEditorOnly) {
    Propose(tree_.Path("suite"));
    EXPECT_FALSE(main_.OnInitDialog("-maruhi anything"));
    EXPECT_TRUE(main_.BatchMode);
    EXPECT_EQ(editor_.paths, Strings{tree_.Path("suite/version.lis")});
    EXPECT_TRUE(view_.viewers.empty());
    EXPECT_TRUE(presenter_.messages.empty());
    EXPECT_EQ(
        tree_.ReadFile("suite/version.lis").substr(0, testing_support::ExpectedBanner().size()),
        testing_support::ExpectedBanner());
}

TEST_F(ListMainTest, BatchStartWithNothingFoundShowsTheMessageAndNoEditor) {
    Propose(tree_.Path("empty"));
    EXPECT_FALSE(main_.OnInitDialog("-maruhi"));
    EXPECT_EQ(presenter_.messages, Strings{"汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。"});
    EXPECT_TRUE(editor_.paths.empty());
}

TEST_F(ListMainTest, BatchOnARelativeDirectoryNamedLikeAnOption) {
    tree_.WriteFile("cwd/-x/bin/kplr.exe", testing_support::ToolImage({"XKPL-R V2.10"}));
    ASSERT_TRUE(platform::SetCurrentDirectory(tree_.Path("cwd")));
    Propose("-x");
    EXPECT_FALSE(main_.OnInitDialog("-maruhi"));
    EXPECT_EQ(editor_.paths, Strings{tree_.Path("cwd/-x/version.lis")});
}

TEST_F(ListMainTest, DisplayShowsTheViewerOnlyWhenTheSuiteWasFound) {
    view_.field = tree_.Path("suite") + kSep;  // one trailing separator is dropped by the run
    main_.WriteVersionList();
    view_.field = tree_.Path("empty");
    main_.WriteVersionList();
    EXPECT_EQ(view_.viewers, Strings{tree_.Path("suite/version.lis")});
    EXPECT_EQ(presenter_.messages, Strings{"汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。"});
    EXPECT_TRUE(editor_.paths.empty());
}

// An empty field names the root's list file; the run is kept from creating it.
TEST_F(ListMainTest, DisplayWithAnEmptyFieldAsksForTheListAtTheRoot) {
    testing_support::TestFileSystem fileSystem;
    fileSystem.failCreate = true;
    shell::ListMain main(view_, presenter_, editor_, fileSystem);
    view_.field = "";
    main.WriteVersionList();
    const std::string list = kSep + "version.lis";
    EXPECT_EQ(fileSystem.createRequests, Strings{list});
    EXPECT_EQ(presenter_.messages, Strings{"List File[" + list + "] Create Error\n"});
    EXPECT_TRUE(view_.viewers.empty());
}

TEST_F(ListMainTest, BrowseStartsInTheFieldsDirectoryAndSelectRewritesTheField) {
    tree_.MakeDir("komar");
    ASSERT_TRUE(platform::SetCurrentDirectory(tree_.Root()));
    view_.field = "komar";
    view_.pickerAnswer = "/chosen/";
    main_.OnBrowse();
    EXPECT_EQ(view_.pickerLabels, Strings{"komar" + kSep});
    EXPECT_EQ(view_.pickerCurrentDirs, Strings{tree_.Path("komar")});
    EXPECT_EQ(view_.field, "/chosen/");
}

TEST_F(ListMainTest, BrowseFromAMissingDirectoryStaysWhereTheProcessIsAndCancelKeepsTheField) {
    ASSERT_TRUE(platform::SetCurrentDirectory(tree_.Path("empty")));
    view_.field = tree_.Path("gone");
    main_.OnBrowse();
    EXPECT_EQ(view_.pickerLabels, Strings{tree_.Path("gone") + kSep});
    EXPECT_EQ(view_.pickerCurrentDirs, Strings{tree_.Path("empty")});
    EXPECT_EQ(view_.field, tree_.Path("gone"));
}

}  // namespace
