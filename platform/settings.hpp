// The suite's settings file: where it is looked for and how its values are read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Only this much of a settings file is read, and only this much of each of its lines is kept:
// a real settings file is a few hundred bytes, and no file under that name can make a
// program take more memory or time than this.
inline constexpr std::size_t kSettingsReadLimit = 16 * 1024 * 1024;
inline constexpr std::size_t kSettingsLineLimit = 64 * 1024;

// The path of the settings file named name (letter case of the name not significant): in
// $WINDIR, else in $XDG_CONFIG_HOME (default ~/.config), else in /etc; on Windows in the
// Windows directory. Only a regular file counts: anything else under the name is passed over
// like a missing file. None when there is none.
std::optional<std::string> FindSettingsFile(std::string_view name);

// Reads INI text line by line with the suite's platform's rules: section and key names without
// regard to case, the first occurrence counting, a section header only with its closing
// bracket; a value with surrounding blanks and one pair of enclosing double quotes removed,
// ending at its first NUL as a C string does; lines starting with ";" are comments.
class ProfileReader {
public:
    ProfileReader(std::string_view section, std::string_view key) : section_(section), key_(key) {}
    // Takes the next line, without its line feed. True once the key has been met; Value()
    // then holds its value and further lines change nothing.
    bool TakeLine(std::string_view line);
    const std::string& Value() const { return value_; }

private:
    std::string section_;
    std::string key_;
    std::string value_;
    bool inSection_ = false;
    bool sectionSeen_ = false;
    bool found_ = false;
};

// The value of key in section of INI text; empty when missing.
std::string ProfileString(std::string_view iniText, std::string_view section, std::string_view key);

// The value of key in section of the named settings file; empty when the file is missing,
// unreadable or no regular file, and when the key is missing.
std::string ReadProfileString(std::string_view fileName, std::string_view section,
                              std::string_view key);

}  // namespace platform
