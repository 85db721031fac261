// The list file's lines, byte for byte as stored.
#include "versionlist/list_file.hpp"

#include <gtest/gtest.h>

#include <functional>

#include "support/list_rules.hpp"
#include "support/temp_tree.hpp"

namespace {

using namespace testing_support;

// What the lines become on disk: written through the list file itself.
std::string Stored(const std::function<void(versionlist::ListFileWriter&)>& write) {
    TempTree tree;
    {
        versionlist::ListFileWriter list(platform::SystemFileSystem().Create(tree.Path("l")));
        write(list);
        EXPECT_TRUE(list.Close());
    }
    return tree.ReadFile("l");
}

TEST(ListFile, BannerIsTheSame216BytesInEveryFile) {
    std::string banner = Stored([](auto& list) { list.WriteBanner(); });
    EXPECT_EQ(banner, ExpectedBanner());
    EXPECT_EQ(banner.size(), 216u);
}

TEST(ListFile, ProductHeadingsTake67Or69Bytes) {
    for (int c = 0; c < 6; ++c) {
        std::string heading = Stored([c](auto& list) { list.ProductHeading(c); });
        EXPECT_EQ(heading, ExpectedProductHeading(c));
        EXPECT_EQ(heading.size(), c == 0 ? 67u : 69u);
    }
}

TEST(ListFile, ConverterHeadingTakes64Bytes) {
    std::string heading = Stored([](auto& list) { list.ConverterHeading(); });
    EXPECT_EQ(heading, ExpectedConverterHeading());
    EXPECT_EQ(heading.size(), 64u);
}

TEST(ListFile, SuiteTextsAreCopiedByteForByteLineFeedsIncluded) {
    // A Shift-JIS marker stays as it is; an LF inside one is stored as CR LF.
    std::string lines = Stored([](auto& list) {
        list.MarkerLine("XKPL \xBA\xDD\x82\xA0");
        list.MarkerLine("Xtwo\nlines");
    });
    EXPECT_EQ(lines,
              ExpectedMarkerLine("XKPL \xBA\xDD\x82\xA0") + ExpectedMarkerLine("Xtwo\r\nlines"));
}

TEST(ListFile, DefinitionLineConvertsOnlyTheFileName) {
    std::string line = Stored(
        [](auto& list) { list.DefinitionLine("lkd\u5B9A.kpd", "V1.00", "\x83\x65\x83X\x83g"); });
    EXPECT_EQ(line, ExpectedDefinitionLine("lkd\x92\xE8.kpd", "V1.00", "\x83\x65\x83X\x83g"));
    // A name that is not UTF-8 is written as stored.
    std::string raw = Stored([](auto& list) { list.DefinitionLine("a\xFF.kpd", "", ""); });
    EXPECT_EQ(raw, ExpectedDefinitionLine("a\xFF.kpd", "", ""));
}

TEST(ListDisplayText, OneLinePerStoredLineDecodedWhole) {
    // What a text-mode read of CR CR LF lines delivers: each line ends in CR LF.
    const std::string read =
        "**\r\n\r\n  X\xBA\xDD\r\n    a.kpd\t V1 \t[N\x92\xE8\x8B`\x91\xCC]\r\nlone\rcr";
    EXPECT_EQ(versionlist::ListDisplayText(read),
              "**\n\n  Xｺﾝ\n    a.kpd\t V1 \t[N定義体]\nlone cr");
    // A lead byte cut off at the end shows as U+FFFD instead of swallowing anything.
    EXPECT_EQ(versionlist::ListDisplayText("ab\x82"), "ab\uFFFD");
}

}  // namespace
