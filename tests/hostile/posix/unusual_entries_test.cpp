// Entries that bear a catalogue tool's, a definition file's or a converter's name but are no
// regular file: each counts as found, gets the reader's open-error message and never blocks.
#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// What the entry holds when it leads to a regular file.
struct Content {
    std::string bytes;
};

struct EntryKind {
    const char* label;
    // Creates the entry at relative; content is what a readable entry leads to.
    std::function<void(const TempTree&, const std::string&, const Content&)> make;
    bool readable;
};

void EnsureParent(const TempTree& tree, const std::string& relative) {
    tree.MakeDir(relative.substr(0, relative.rfind('/')));
}

const EntryKind kKinds[] = {
    {"Directory", [](const TempTree& t, const std::string& r, const Content&) { t.MakeDir(r); },
     false},
    {"FifoWithoutWriter",
     [](const TempTree& t, const std::string& r, const Content&) {
         EnsureParent(t, r);
         testing_support::MakeFifo(t.Path(r));
     },
     false},
    {"Socket",
     [](const TempTree& t, const std::string& r, const Content&) {
         EnsureParent(t, r);
         testing_support::MakeSocket(t.Path(r));
     },
     false},
    {"LinkToDirectory",
     [](const TempTree& t, const std::string& r, const Content&) {
         t.MakeDir("elsewhere/dir");
         t.Symlink(t.Path("elsewhere/dir"), r);
     },
     false},
    {"LinkToFifo",
     [](const TempTree& t, const std::string& r, const Content&) {
         t.MakeDir("elsewhere");
         testing_support::MakeFifo(t.Path("elsewhere/fifo"));
         t.Symlink(t.Path("elsewhere/fifo"), r);
     },
     false},
    {"LinkToDevZero",
     [](const TempTree& t, const std::string& r, const Content&) { t.Symlink("/dev/zero", r); },
     false},
    {"LinkToDevUrandom",
     [](const TempTree& t, const std::string& r, const Content&) { t.Symlink("/dev/urandom", r); },
     false},
    {"LinkToDevNull",
     [](const TempTree& t, const std::string& r, const Content&) { t.Symlink("/dev/null", r); },
     false},
    {"DanglingLink",
     [](const TempTree& t, const std::string& r, const Content&) {
         t.Symlink(t.Path("nowhere/at/all"), r);
     },
     false},
    {"LinkToItself",
     [](const TempTree& t, const std::string& r, const Content&) {
         t.Symlink(r.substr(r.rfind('/') + 1), r);
     },
     false},
    {"LinkToRegularFile",
     [](const TempTree& t, const std::string& r, const Content& c) {
         t.WriteFile("elsewhere/real", c.bytes);
         t.Symlink(t.Path("elsewhere/real"), r);
     },
     true},
    {"RelativeLinkChain",
     [](const TempTree& t, const std::string& r, const Content& c) {
         t.WriteFile("elsewhere/real", c.bytes);
         t.Symlink("../elsewhere/real", "gen/hop");
         t.Symlink("../gen/hop", r);
     },
     true},
};

enum class Role { kTool, kDefinition, kConverter };

struct RoleCase {
    const char* label;
    Role role;
    std::string entry;      // where the hostile entry stands
    std::string companion;  // a regular file of the same kind read after it
};

const RoleCase kRoles[] = {
    {"CatalogueTool", Role::kTool, "bin/kplr.exe", "bin/kplmek.exe"},
    {"DefinitionFile", Role::kDefinition, "gen/lkd1.kpd", "gen/lkd2.kpd"},
    {"Converter", Role::kConverter, "bin/komf1.exe", "bin/komf2.exe"},
};

class SpecialEntryTest : public testing::TestWithParam<std::tuple<EntryKind, RoleCase>> {};

TEST_P(SpecialEntryTest, CountsAsFoundReportsOpenErrorAndRunGoesOn) {
    const auto& [kind, role] = GetParam();
    TempTree tree;
    std::string content, companion, expected = ExpectedBanner();
    std::vector<std::string> messages;
    const std::string path = tree.Path(role.entry);
    switch (role.role) {
        case Role::kTool:
            content = testing_support::ToolImage({"X kplr 2.00"});
            companion = testing_support::ToolImage({"X kplmek 1.00"});
            expected += ExpectedProductHeading(0);
            if (kind.readable) {
                expected += ExpectedMarkerLine("X kplr 2.00");
            }
            expected += ExpectedMarkerLine("X kplmek 1.00");
            if (!kind.readable) {
                messages.push_back(testing_support::ScanOpenError(path));
            }
            break;
        case Role::kDefinition:
            content = testing_support::OtherDefinition("1.50", "HOSTILE");
            companion = testing_support::OtherDefinition("2.00", "COMPANION = x");
            expected += ExpectedProductHeading(0);
            if (kind.readable) {
                expected += ExpectedDefinitionLine("lkd1.kpd", "1.50", "HOSTILE");
            }
            expected += ExpectedDefinitionLine("lkd2.kpd", "2.00", "COMPANION");
            if (!kind.readable) {
                messages.push_back(testing_support::DefinitionOpenError(path));
            }
            break;
        case Role::kConverter:
            content = testing_support::ToolImage({"X komf1 3.00"});
            companion = testing_support::ToolImage({"X komf2 3.10"});
            expected += ExpectedConverterHeading();
            if (kind.readable) {
                expected += ExpectedMarkerLine("X komf1 3.00");
            }
            expected += ExpectedMarkerLine("X komf2 3.10");
            if (!kind.readable) {
                messages.push_back(testing_support::ScanOpenError(path));
            }
            messages.push_back(
                std::string(testing_support::kNothingFound));  // converters alone are not the suite
            break;
    }
    kind.make(tree, role.entry, Content{content});
    tree.WriteFile(role.companion, companion);

    auto result = testing_support::RunOver(tree.Root());

    EXPECT_EQ(result.outcome,
              role.role == Role::kConverter ? RunOutcome::kNothingFound : RunOutcome::kFound);
    EXPECT_EQ(result.messages, messages);
    EXPECT_EQ(result.list, expected);
    EXPECT_EQ(result.result.readFailures, !kind.readable);
}

std::string CaseName(const testing::TestParamInfo<SpecialEntryTest::ParamType>& info) {
    return std::string(std::get<1>(info.param).label) + "_" + std::get<0>(info.param).label;
}

INSTANTIATE_TEST_SUITE_P(EveryKindInEveryRole, SpecialEntryTest,
                         testing::Combine(testing::ValuesIn(kKinds), testing::ValuesIn(kRoles)),
                         CaseName);

// A shared tool's name taken by a FIFO in a category without its lead: found, never opened.
TEST(SpecialEntry, SharedToolWithoutLeadIsFoundButNeverOpened) {
    TempTree tree;
    tree.MakeDir("bin");
    testing_support::MakeFifo(tree.Path("bin/kmuwa.exe"));
    testing_support::TestFileSystem files;

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, ExpectedBanner());
    EXPECT_TRUE(files.readLogs.empty());
}

// The same FIFO under a present lead is taken up and fails to open like any other tool, once
// for each category that reports it.
TEST(SpecialEntry, SharedToolFifoUnderTwoLeadsFailsOncePerCategory) {
    TempTree tree;
    tree.WriteFile("bin/ktunr.exe", testing_support::ToolImage({"X ktunr"}));
    tree.WriteFile("bin/kfelr.exe", testing_support::ToolImage({"X kfelr"}));
    testing_support::MakeFifo(tree.Path("bin/kmuwa.exe"));

    auto result = testing_support::RunOver(tree.Root());

    const std::string fifo = tree.Path("bin/kmuwa.exe");
    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_EQ(result.messages, (std::vector<std::string>{testing_support::ScanOpenError(fifo),
                                                         testing_support::ScanOpenError(fifo)}));
    EXPECT_EQ(result.list, ExpectedBanner() + ExpectedProductHeading(2) +
                               ExpectedMarkerLine("X ktunr") + ExpectedProductHeading(3) +
                               ExpectedMarkerLine("X kfelr"));
}

}  // namespace
