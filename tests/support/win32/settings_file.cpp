// The settings file on Windows: the Windows directory's, in UTF-16 with CR LF line ends.
#include "support/settings_file.hpp"

#include <string>

#include "support/win32/windows_settings.hpp"

namespace testing_support {
namespace {

std::string WithCrLf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace

struct ScopedSettingsFile::State {
    explicit State(std::string_view iniText) : file(Utf16SettingsText(WithCrLf(iniText))) {}
    ScopedWindowsSettingsFile file;
};

ScopedSettingsFile::ScopedSettingsFile(const TempTree&, std::string_view iniText)
    : state_(std::make_unique<State>(iniText)) {}

ScopedSettingsFile::~ScopedSettingsFile() = default;

}  // namespace testing_support
