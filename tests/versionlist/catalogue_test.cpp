// Catalogue rules: which tools are shared, where the lead tool stands.
#include "versionlist/catalogue.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Catalogue, SharedToolsAreKnownWithoutRegardToCase) {
    for (auto name : {"kmuwa.exe", "KMUWA.EXE", "kPreB.exe"}) {
        EXPECT_TRUE(versionlist::IsSharedTool(name)) << name;
    }
    for (auto name : {"kmuwa", "kmuwa.exe ", "ktunr.exe", "kpreb.ex"}) {
        EXPECT_FALSE(versionlist::IsSharedTool(name)) << name;
    }
}

TEST(Catalogue, EveryCategoryLeadsWithAnOwnToolAndPatternsStartWithASeparator) {
    for (const auto& category : versionlist::ToolCatalogue) {
        EXPECT_FALSE(category.Tools[0].empty());
        EXPECT_FALSE(versionlist::IsSharedTool(category.Tools[0]));
        EXPECT_EQ(category.DefinitionPattern.front(), '/');
    }
    // The tenth ＫＯＭＡ－Ｒ tool has no extension and is looked for exactly as written.
    EXPECT_EQ(versionlist::ToolCatalogue[versionlist::kKomaCategory].Tools[9], "kowist");
}

}  // namespace
