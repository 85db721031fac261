// The list file's bytes and the run's messages as their rules give them, written out independently
// of the code under test: Shift-JIS bytes from the code page table, every line end as stored on
// disk.
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

// The messages of the run's failures as the person reads them, for the path given.
std::string ScanOpenError(std::string_view path);
std::string ScanReadError(std::string_view path);
std::string DefinitionOpenError(std::string_view path);
std::string DefinitionSeekError(std::string_view path);
std::string DefinitionReadError(std::string_view path);
std::string ListCreateError(std::string_view path);
std::string ListWriteError(std::string_view path);
inline constexpr std::string_view kNothingFound = "汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。";

}  // namespace testing_support
