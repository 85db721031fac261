// The suite's settings file: where it is looked for and how its values are read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The path of the settings file named name (letter case of the name not significant): in
// $WINDIR, else in $XDG_CONFIG_HOME (default ~/.config), else in /etc. None when absent.
std::optional<std::string> FindSettingsFile(std::string_view name);

// The value of key in section of INI text: section and key names without regard to case,
// the first occurrence counting; the value with surrounding blanks and one pair of enclosing
// double quotes removed; lines starting with ";" are comments. Empty when missing.
std::string ProfileString(std::string_view iniText, std::string_view section, std::string_view key);

// ProfileString over the named settings file; empty when the file is missing or unreadable.
std::string ReadProfileString(std::string_view fileName, std::string_view section,
                              std::string_view key);

// The process's current directory, whole; empty when it cannot be read.
std::string CurrentDirectory();

}  // namespace platform
