// The expected bytes, written out from the code page table and the format strings.
#include "support/list_rules.hpp"

namespace testing_support {
namespace {

// Shift-JIS of "ＫＰＬ－Ｒ" and the other names: full-width letters 0x82 0x60.., hyphen 0x81 0x7C.
constexpr std::string_view kNames[] = {
    "\x82j\x82o\x82k\x81|\x82q",      "\x82j\x82n\x82l\x82`\x81|\x82q",
    "\x82j\x82s\x82t\x82m\x81|\x82q", "\x82j\x82\x65\x82\x64\x82k\x81|\x82q",
    "\x82j\x82v\x82n\x82g\x81|\x82q", "\x82j\x82m\x82h\x82r\x81|\x82q",
};

const std::string kRule(58, '*');
// "　" (ideographic space) in Shift-JIS.
constexpr std::string_view kWideSpace = "\x81\x40";
// "ＫＯＭＡ－Ｒシリーズ・バージョンリスト"
constexpr std::string_view kTitle =
    "\x82j\x82n\x82l\x82`\x81|\x82q\x83V\x83\x8A\x81[\x83Y\x81\x45\x83o\x81[\x83W\x83\x87\x83"
    "\x93\x83\x8A\x83X\x83g";
// " プロダクト　バージョン情報 "
constexpr std::string_view kProductWords =
    " \x83v\x83\x8D\x83_\x83N\x83g\x81@\x83o\x81[\x83W\x83\x87\x83\x93\x8F\xEE\x95\xF1 ";
// "ＯＭＦコンバータ　バージョン情報"
constexpr std::string_view kConverterWords =
    "\x82n\x82l\x82\x65\x83R\x83\x93\x83o\x81[\x83^\x81@\x83o\x81[\x83W\x83\x87\x83\x93\x8F\xEE"
    "\x95\xF1";
// "定義体"
constexpr std::string_view kDefinitionWord = "\x92\xE8\x8B`\x91\xCC";

}  // namespace

std::string_view SjisDisplayName(int category) {
    return kNames[category];
}

std::string ExpectedBanner() {
    std::string text;
    text += kRule;
    text += kEol;
    text += kEol;
    text += kWideSpace;
    text += std::string(8, ' ');
    text += kTitle;
    text += kEol;
    for (int i = 0; i < 4; ++i) {
        text += kWideSpace;
    }
    text += "  PELKOR.EXE:  V1.2 (8a21)";
    text += kEol;
    text += kEol;
    text += kRule;
    text += kEol;
    return text;
}

std::string ExpectedProductHeading(int category) {
    std::string text(kEol);
    text += "#" + std::string(9, '-') + "< ";
    text += kNames[category];
    text += kProductWords;
    text += ">" + std::string(9, '-') + "#";
    text += kEol;
    return text;
}

std::string ExpectedConverterHeading() {
    std::string text(kEol);
    text += "#" + std::string(10, '-') + "< ";
    text += kConverterWords;
    text += " >" + std::string(10, '-') + "#";
    text += kEol;
    return text;
}

std::string ExpectedMarkerLine(std::string_view text) {
    std::string line = "  ";
    line += text;
    line += kEol;
    return line;
}

std::string ExpectedDefinitionLine(std::string_view fileName, std::string_view version,
                                   std::string_view name) {
    std::string line = "    ";
    line += fileName;
    line += "\t ";
    line += version;
    line += " \t[";
    line += name;
    line += kDefinitionWord;
    line += "]";
    line += kEol;
    return line;
}

std::string ScanOpenError(std::string_view path) {
    return "[" + std::string(path) + "] Open Error !!\n";
}

std::string ScanReadError(std::string_view path) {
    return " [" + std::string(path) + "] Read Error !! \n";
}

std::string DefinitionOpenError(std::string_view path) {
    return "定義体[" + std::string(path) + "] Open Error !!\n";
}

std::string DefinitionSeekError(std::string_view path) {
    return " 定義体[" + std::string(path) + "] Lseek Error !! \n";
}

std::string DefinitionReadError(std::string_view path) {
    return " 定義体[" + std::string(path) + "] Read Error !! \n";
}

std::string ListCreateError(std::string_view path) {
    return "List File[" + std::string(path) + "] Create Error\n";
}

std::string ListWriteError(std::string_view path) {
    return "List File[" + std::string(path) + "] Write Error\n";
}

}  // namespace testing_support
