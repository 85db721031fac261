// The JSON report of a run whose markers, names, versions, file names and paths hold arbitrary
// bytes: always one strict JSON value in well-formed UTF-8.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "cli/json_report.hpp"
#include "fuzz_check.hpp"
#include "support/strict_json.hpp"
#include "versionlist/catalogue.hpp"

namespace {

versionlist::ToolReport Tool(FuzzedDataProvider& provider) {
    versionlist::ToolReport tool;
    tool.file = provider.ConsumeRandomLengthString(40);
    tool.readable = provider.ConsumeBool();
    std::size_t markers = provider.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t i = 0; i < markers; ++i) {
        tool.markers.push_back(provider.ConsumeRandomLengthString(80));
    }
    return tool;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    versionlist::RunReport report;
    report.result.installDir = provider.ConsumeRandomLengthString(60);
    report.result.listPath = report.result.installDir + "/version.lis";
    report.result.outcome =
        static_cast<versionlist::RunOutcome>(provider.ConsumeIntegralInRange<int>(0, 3));
    report.result.found = provider.ConsumeBool();
    report.result.readFailures = provider.ConsumeBool();
    std::size_t categories = provider.ConsumeIntegralInRange<std::size_t>(0, 3);
    for (std::size_t c = 0; c < categories; ++c) {
        versionlist::CategoryReport category;
        category.index =
            provider.ConsumeIntegralInRange<std::size_t>(0, versionlist::kCategoryCount - 1);
        std::size_t tools = provider.ConsumeIntegralInRange<std::size_t>(0, 3);
        for (std::size_t t = 0; t < tools; ++t) {
            category.tools.push_back(Tool(provider));
        }
        std::size_t definitions = provider.ConsumeIntegralInRange<std::size_t>(0, 3);
        for (std::size_t d = 0; d < definitions; ++d) {
            versionlist::DefinitionReport definition;
            definition.file = provider.ConsumeRandomLengthString(40);
            definition.version = provider.ConsumeRandomLengthString(8);
            definition.name = provider.ConsumeRandomLengthString(32);
            definition.readable = provider.ConsumeBool();
            category.definitions.push_back(definition);
        }
        report.categories.push_back(category);
    }
    std::size_t converters = provider.ConsumeIntegralInRange<std::size_t>(0, 3);
    for (std::size_t i = 0; i < converters; ++i) {
        report.converters.push_back(Tool(provider));
    }
    while (provider.remaining_bytes() > 0) {
        const auto kind =
            static_cast<versionlist::FailureKind>(provider.ConsumeIntegralInRange<int>(
                0, static_cast<int>(versionlist::FailureKind::kListWrite)));
        report.failures.push_back({kind, provider.ConsumeRandomLengthString(60)});
    }

    const std::string json = cli::JsonReport(report);
    if (!testing_support::IsStrictJson(json)) {
        std::fwrite(json.data(), 1, json.size(), stderr);
        FUZZ_CHECK(!"the report is no strict UTF-8 JSON");
    }
    return 0;
}
