// The list file's bytes as its format rules give them, written out independently of the code
// under test: Shift-JIS bytes from the code page table, every line end as stored on disk.
#pragma once

#include <string>
#include <string_view>

namespace testing_support {

// One line end as stored: the format's "\r\n" after text-mode output.
inline constexpr std::string_view kEol = "\r\r\n";

// Display names of the catalogue's categories, in Shift-JIS.
std::string_view SjisDisplayName(int category);

std::string ExpectedBanner();
std::string ExpectedProductHeading(int category);
std::string ExpectedConverterHeading();
std::string ExpectedMarkerLine(std::string_view text);
// fileName, version and name as bytes (Shift-JIS or ASCII).
std::string ExpectedDefinitionLine(std::string_view fileName, std::string_view version,
                                   std::string_view name);

// A tool executable holding the given markers between filler bytes.
std::string ToolImage(std::initializer_list<std::string_view> markers);
// Definition files with the given fields at their offsets, padded to at least 128 bytes.
std::string KomaDefinition(std::string_view nameField8, std::string_view versionDigits);
std::string OtherDefinition(std::string_view versionField, std::string_view nameField32);

}  // namespace testing_support
