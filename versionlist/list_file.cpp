// Fixed texts of the list file and the formatting of its lines.
#include "versionlist/list_file.hpp"

#include "platform/cp932.hpp"
#include "versionlist/catalogue.hpp"

namespace versionlist {
namespace {

constexpr std::string_view kRule = "**********************************************************";

// The fixed texts are kept as UTF-8 in the source and converted to CP932 once, on first use.
#define PELKOR_SJIS(utf8)                                                 \
    ([]() -> const std::string& {                                         \
        static const std::string converted = platform::Utf8ToCp932(utf8); \
        return converted;                                                 \
    }())

std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

std::string BannerText() {
    std::string text;
    text.append(kRule).append("\r\n\r\n");
    text.append(PELKOR_SJIS("　        ＫＯＭＡ－Ｒシリーズ・バージョンリスト\r\n"));
    text.append(PELKOR_SJIS("　　　　  PELKOR.EXE:  "));
    text.append(kProgramVersion).append(" ").append(kBuildTag).append("\r\n\r\n");
    text.append(kRule).append("\r\n");
    return text;
}

std::string ProductHeadingText(std::string_view displayName) {
    std::string text = PELKOR_SJIS("\r\n#---------< ");
    text.append(platform::Utf8ToCp932(displayName));
    text.append(PELKOR_SJIS(" プロダクト　バージョン情報 >---------#\r\n"));
    return text;
}

std::string ConverterHeadingText() {
    return PELKOR_SJIS("\r\n#----------< ＯＭＦコンバータ　バージョン情報 >----------#\r\n");
}

std::string MarkerLineText(std::string_view marker) {
    std::string text = "  ";
    text.append(UpToNul(marker)).append("\r\n");
    return text;
}

std::string DefinitionLineText(std::string_view fileName, std::string_view version,
                               std::string_view name) {
    std::string text = "    ";
    text.append(platform::Utf8ToCp932(UpToNul(fileName)));
    text.append("\t ").append(UpToNul(version)).append(" \t[").append(UpToNul(name));
    text.append(PELKOR_SJIS("定義体]\r\n"));
    return text;
}

void ListFileWriter::ProductHeading(std::size_t category) {
    out_.Write(ProductHeadingText(ToolCatalogue[category].DisplayName));
}

std::string ListDisplayText(std::string_view textModeBytes) {
    std::string lines;
    lines.reserve(textModeBytes.size());
    for (std::size_t i = 0; i < textModeBytes.size(); ++i) {
        const char c = textModeBytes[i];
        if (c == '\r') {
            const bool endsLine = i + 1 < textModeBytes.size() && textModeBytes[i + 1] == '\n';
            if (!endsLine) {
                lines.push_back(' ');
            }
            continue;
        }
        lines.push_back(c);
    }
    // CR and LF are never part of a double-byte character, so dropping them above cannot
    // join two halves.
    return platform::Cp932ToUtf8(lines);
}

}  // namespace versionlist
