// JSON rendering of a run's report.
#include "cli/json_report.hpp"

#include <cstdio>
#include <string_view>

#include "platform/cp932.hpp"
#include "platform/utf8.hpp"
#include "versionlist/catalogue.hpp"

namespace cli {
namespace {

// A JSON string literal of UTF-8 text.
void AppendString(std::string& out, std::string_view utf8) {
    out.push_back('"');
    for (char c : utf8) {
        switch (c) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\t':
                out.append("\\t");
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out.append(escape);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

void AppendName(std::string& out, std::string_view fileName) {
    AppendString(out, platform::SanitizeUtf8(fileName));
}

void AppendSuiteText(std::string& out, std::string_view cp932) {
    AppendString(out, platform::Cp932ToUtf8(cp932));
}

const char* OutcomeName(versionlist::RunOutcome outcome) {
    switch (outcome) {
        case versionlist::RunOutcome::kCreateFailed:
            return "create-failed";
        case versionlist::RunOutcome::kWriteFailed:
            return "write-failed";
        case versionlist::RunOutcome::kNothingFound:
            return "nothing-found";
        case versionlist::RunOutcome::kFound:
            return "found";
    }
    return "unknown";
}

void AppendTools(std::string& out, const std::vector<versionlist::ToolReport>& tools) {
    out.push_back('[');
    for (std::size_t i = 0; i < tools.size(); ++i) {
        const auto& tool = tools[i];
        out.append(i == 0 ? "{" : ",{");
        out.append("\"file\":");
        AppendName(out, tool.file);
        out.append(",\"readable\":").append(tool.readable ? "true" : "false");
        out.append(",\"markers\":[");
        for (std::size_t m = 0; m < tool.markers.size(); ++m) {
            if (m != 0) {
                out.push_back(',');
            }
            AppendSuiteText(out, tool.markers[m]);
        }
        out.append("]}");
    }
    out.push_back(']');
}

}  // namespace

std::string JsonReport(const versionlist::RunReport& report) {
    const versionlist::RunResult& result = report.result;
    std::string out = "{\"installDir\":";
    AppendName(out, result.installDir);
    out.append(",\"listPath\":");
    AppendName(out, result.listPath);
    out.append(",\"outcome\":\"").append(OutcomeName(result.outcome)).append("\"");
    out.append(",\"found\":").append(result.found ? "true" : "false");
    out.append(",\"categories\":[");
    for (std::size_t c = 0; c < report.categories.size(); ++c) {
        const auto& category = report.categories[c];
        out.append(c == 0 ? "{" : ",{");
        out.append("\"index\":").append(std::to_string(category.index));
        out.append(",\"name\":");
        AppendString(out, versionlist::ToolCatalogue[category.index].DisplayName);
        out.append(",\"tools\":");
        AppendTools(out, category.tools);
        out.append(",\"definitions\":[");
        for (std::size_t d = 0; d < category.definitions.size(); ++d) {
            const auto& definition = category.definitions[d];
            out.append(d == 0 ? "{" : ",{");
            out.append("\"file\":");
            AppendName(out, definition.file);
            out.append(",\"readable\":").append(definition.readable ? "true" : "false");
            out.append(",\"name\":");
            AppendSuiteText(out, definition.name.substr(0, definition.name.find('\0')));
            out.append(",\"version\":");
            AppendSuiteText(out, definition.version.substr(0, definition.version.find('\0')));
            out.push_back('}');
        }
        out.append("]}");
    }
    out.append("],\"converters\":");
    AppendTools(out, report.converters);
    out.append(",\"failures\":[");
    for (std::size_t f = 0; f < report.failures.size(); ++f) {
        if (f != 0) {
            out.push_back(',');
        }
        AppendName(out, versionlist::MessageText(report.failures[f]));
    }
    out.append("]}\n");
    return out;
}

}  // namespace cli
