// The suite's settings file in the Windows directory, where the system's profile functions
// look, for the duration of a test; whatever stood under its name before is put back after.
#pragma once

#include <string>
#include <string_view>

namespace testing_support {

class ScopedWindowsSettingsFile {
public:
    // What stands under the file's name during the test.
    enum class Kind { kFile, kDirectory, kNothing };

    // Writes bytes as the file (a directory instead, or nothing at all, as kind says).
    explicit ScopedWindowsSettingsFile(std::string_view bytes, Kind kind = Kind::kFile);
    ~ScopedWindowsSettingsFile();
    ScopedWindowsSettingsFile(const ScopedWindowsSettingsFile&) = delete;
    ScopedWindowsSettingsFile& operator=(const ScopedWindowsSettingsFile&) = delete;

    // The file's path, in the Windows directory.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string saved_;  // where what stood there before waits; empty when nothing did
};

// Text as a settings file in UTF-16 (little-endian, with its byte-order mark), which the
// profile functions read whatever the system's ANSI code page is.
std::string Utf16SettingsText(std::string_view utf8);

}  // namespace testing_support
