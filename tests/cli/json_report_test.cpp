// The JSON report: structure, and valid UTF-8 whatever bytes the suite's files hold.
#include "cli/json_report.hpp"

#include <gtest/gtest.h>

#include "platform/utf8.hpp"

namespace {

TEST(JsonReport, RendersTheRunDecodingSuiteTextsFromShiftJis) {
    versionlist::RunReport report;
    report.result.installDir = "/opt/koma";
    report.result.listPath = "/opt/koma/version.lis";
    report.result.outcome = versionlist::RunOutcome::kFound;
    report.result.found = true;
    versionlist::CategoryReport category;
    category.index = 2;
    category.tools.push_back({"ktunr.exe", {"XKTUN \xC3\xDD \"q\"\\"}, true});
    category.definitions.push_back({"tkd\xFF.ktd", "V1.0", "N\tA", false});
    report.categories.push_back(category);
    report.converters.push_back({"komf86.exe", {}, true});
    report.failures = {{versionlist::FailureKind::kDefinitionRead, "/opt/koma/gen/tkd\xFF.ktd"}};

    const std::string json = cli::JsonReport(report);
    EXPECT_EQ(json,
              "{\"installDir\":\"/opt/koma\",\"listPath\":\"/opt/koma/version.lis\","
              "\"outcome\":\"found\",\"found\":true,\"categories\":[{\"index\":2,"
              "\"name\":\"ＫＴＵＮ－Ｒ\",\"tools\":[{\"file\":\"ktunr.exe\",\"readable\":true,"
              "\"markers\":[\"XKTUN ﾃﾝ \\\"q\\\"\\\\\"]}],\"definitions\":[{\"file\":"
              "\"tkd\uFFFD.ktd\",\"readable\":false,\"name\":\"N\\tA\",\"version\":\"V1.0\"}]}],"
              "\"converters\":[{\"file\":\"komf86.exe\",\"readable\":true,\"markers\":[]}],"
              "\"failures\":[\" 定義体[/opt/koma/gen/tkd\uFFFD.ktd] Read Error !! \\n\"]}\n");
    EXPECT_TRUE(platform::IsValidUtf8(json));
}

TEST(JsonReport, EscapesControlBytesAndReplacesWhatIsNotShiftJis) {
    versionlist::RunReport report;
    // 0xA0 is no Shift-JIS in any system's table (0x80 is U+0080 in Windows' own).
    report.converters.push_back({"k", {std::string("X\x01\x1F\xA0", 4)}, true});
    const std::string json = cli::JsonReport(report);
    EXPECT_NE(json.find("\"X\\u0001\\u001f\uFFFD\""), std::string::npos) << json;
    EXPECT_TRUE(platform::IsValidUtf8(json));
}

}  // namespace
