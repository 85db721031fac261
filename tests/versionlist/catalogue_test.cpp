// The catalogue as the list shows it: each category's tools and definition files under its
// heading, the shared tools only beside their category's lead.
#include "versionlist/catalogue.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "support/list_rules.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace testing_support;

struct CategoryCase {
    int category;
    const char* lead;        // the tool whose presence lists the shared tools too
    const char* definition;  // a name the category's definition pattern matches
    std::string header;      // in the category's layout
    const char* version;
    const char* name;
    std::vector<const char*> shared;  // the shared tools listed after the lead, in order
    friend void PrintTo(const CategoryCase& c, std::ostream* os) { *os << c.lead; }
};

const CategoryCase kCategories[] = {
    {0, "kplr.exe", "LKD01.KPD", OtherDefinition("V1.00", "SH (std)"), "V1.00", "SH ", {}},
    {1, "komar.exe", "mkd_x.kmd", KomaDefinition("SH7604  ", "0310"), "V03.10", "SH7604", {}},
    {2, "ktunr.exe", "tkd.ktd", OtherDefinition("V2", "TUN (x)"), "V2", "TUN (x)", {"XKMUWA"}},
    {3, "kfelr.exe", "fkd9.ktd", OtherDefinition("V3", "FEL = y"), "V3", "FEL", {"XKMUWA"}},
    {4, "kwohr.exe", "wkd9.ktd", OtherDefinition("V4", "WOH"), "V4", "WOH", {"XKPREB", "XKMUWA"}},
    {5, "knisr.exe", "nkd9.ktd", OtherDefinition("V5", "NIS"), "V5", "NIS", {"XKPREB", "XKMUWA"}},
};

class CatalogueTest : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(CatalogueTest, ListsTheCategorysToolsAndDefinitionFilesUnderItsHeading) {
    const auto& c = GetParam();
    TempTree tree;
    tree.WriteFile(std::string("bin/") + c.lead, ToolImage({"XLEAD"}));
    tree.WriteFile("bin/kmuwa.exe", ToolImage({"XKMUWA"}));
    tree.WriteFile("bin/kpreb.exe", ToolImage({"XKPREB"}));
    tree.WriteFile(std::string("gen/") + c.definition, c.header);
    // Only a file the pattern matches is the category's: another beginning is not. (Names the
    // pattern misses only by their extension may match through an 8.3 alias on Windows.)
    tree.WriteFile(std::string("gen/x") + c.definition, c.header);

    const auto run = RunOver(tree.Root());

    std::string shared;
    for (const char* marker : c.shared) {
        shared += ExpectedMarkerLine(marker);
    }
    EXPECT_EQ(run.list, ExpectedBanner() + ExpectedProductHeading(c.category) +
                            ExpectedMarkerLine("XLEAD") + shared +
                            ExpectedDefinitionLine(c.definition, c.version, c.name));
    EXPECT_TRUE(run.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryCategory, CatalogueTest, ::testing::ValuesIn(kCategories),
                         [](const auto& info) { return std::to_string(info.param.category); });

TEST(Catalogue, KowistIsLookedForExactlyAsWritten) {
    TempTree tree;
    tree.WriteFile("bin/kowist.exe", ToolImage({"XNOT LISTED"}));
    tree.WriteFile("bin/KOWIST", ToolImage({"XKOWIST"}));
    EXPECT_EQ(RunOver(tree.Root()).list,
              ExpectedBanner() + ExpectedProductHeading(1) + ExpectedMarkerLine("XKOWIST"));
}

TEST(Catalogue, SharedToolsAreKnownWithoutRegardToCase) {
    for (auto name : {"kmuwa.exe", "KMUWA.EXE", "kPreB.exe"}) {
        EXPECT_TRUE(versionlist::IsSharedTool(name)) << name;
    }
    for (auto name : {"kmuwa", "kmuwa.exe ", "ktunr.exe", "kpreb.ex"}) {
        EXPECT_FALSE(versionlist::IsSharedTool(name)) << name;
    }
}

}  // namespace
