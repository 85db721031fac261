// pelkor-list run as a real process on hostile trees: it finishes, exits with the status its
// help promises, and prints each failure as one line on stderr.
#include <gtest/gtest.h>

#include <functional>

#include "hostile/hostile_support.hpp"
#include "hostile/run.hpp"
#include "strict_json.hpp"

namespace {

using testing_support::TempTree;

constexpr int kTimeoutSeconds = 30;

// A message as the command line shows it: one line, inner line feeds written as "\n".
std::string StderrLine(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    std::string line = "pelkor-list: ";
    for (char c : message) {
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return line + "\n";
}

struct CliCase {
    const char* label;
    std::function<void(const TempTree&)> make;
    int exitStatus;
    std::function<std::vector<std::string>(const TempTree&)> messages;
};

const CliCase kCases[] = {
    {"FifoToolAmongGoodOnes",
     [](const TempTree& t) {
         t.MakeDir("bin");
         hostile::MakeFifo(t.Path("bin/kplr.exe"));
         t.WriteFile("bin/kplmek.exe", testing_support::ToolImage({"X kplmek"}));
     },
     3,
     [](const TempTree& t) { return std::vector{hostile::ScanOpenError(t.Path("bin/kplr.exe"))}; }},
    {"EndlessDevicesAsToolAndDefinition",
     [](const TempTree& t) {
         t.Symlink("/dev/zero", "bin/kplr.exe");
         t.Symlink("/dev/urandom", "gen/lkd1.kpd");
     },
     3,
     [](const TempTree& t) {
         return std::vector{hostile::ScanOpenError(t.Path("bin/kplr.exe")),
                            hostile::DefinitionOpenError(t.Path("gen/lkd1.kpd"))};
     }},
    {"ToolReadFails", [](const TempTree& t) { t.Symlink("/proc/self/mem", "bin/kplr.exe"); }, 3,
     [](const TempTree& t) { return std::vector{hostile::ScanReadError(t.Path("bin/kplr.exe"))}; }},
    {"ListNameIsDirectory",
     [](const TempTree& t) {
         t.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));
         t.MakeDir("version.lis");
     },
     2,
     [](const TempTree& t) {
         return std::vector{hostile::ListCreateError(t.Path("version.lis"))};
     }},
    {"ListOnFullDisk",
     [](const TempTree& t) {
         t.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr"}));
         t.Symlink("/dev/full", "version.lis");
     },
     2,
     [](const TempTree& t) { return std::vector{hostile::ListWriteError(t.Path("version.lis"))}; }},
    {"OnlyAConverterNamedWithLineFeed",
     [](const TempTree& t) {
         t.MakeDir("bin");
         hostile::MakeFifo(t.Path("bin/komf\nx.exe"));
     },
     1,
     [](const TempTree& t) {
         return std::vector{hostile::ScanOpenError(t.Path("bin/komf\nx.exe")),
                            hostile::kNothingFound};
     }},
};

class CliProcessTest : public testing::TestWithParam<CliCase> {};

TEST_P(CliProcessTest, FinishesWithStatusAndOneStderrLinePerMessage) {
    TempTree tree;
    GetParam().make(tree);

    auto result = hostile::RunProcess({PELKOR_LIST_EXE, tree.Root()}, kTimeoutSeconds);

    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, GetParam().exitStatus);
    std::string expected;
    for (const auto& message : GetParam().messages(tree)) {
        expected += StderrLine(message);
    }
    EXPECT_EQ(result.err, expected);
    EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(HostileTrees, CliProcessTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Whatever bytes the markers, names and versions hold, --json prints valid UTF-8 JSON.
TEST(CliJson, HostileBytesGiveStrictJson) {
    TempTree tree;
    std::string marker =
        "X \"quoted\" \\ back\x01\x1f\x7f \x81\x40 \x82 \xff\xfe \xe3\x81\x82 \n\r\t";
    tree.WriteFile("bin/kplr.exe",
                   testing_support::ToolImage({marker, "X \xef\xbf\xbf\xed\xa0\x80"}));
    tree.WriteFile("gen/lkd\xff\n\".kpd",
                   testing_support::OtherDefinition("\x81\x82\x83\xfd", "\xa0\xe0\x80 \"\\="));
    tree.WriteFile("gen/mkd1.kmd",
                   testing_support::KomaDefinition("\x80\x81\x9f\xfc\x1a", "\xfd\x1a\x0d\x0a"));
    tree.MakeDir("bin/komf\xc0\xaf.exe");

    auto result = hostile::RunProcess({PELKOR_LIST_EXE, "--json", tree.Root()}, kTimeoutSeconds);

    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_TRUE(fuzzcheck::IsStrictJson(result.out)) << result.out;
    EXPECT_NE(result.out.find("\"outcome\":\"found\""), std::string::npos);
}

}  // namespace
