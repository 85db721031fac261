// INI text read as the suite's platform reads its settings files.
#include "platform/dir_search.hpp"
#include "platform/settings.hpp"

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

bool ProfileReader::TakeLine(std::string_view line) {
    if (found_) {
        return true;
    }
    line = Trim(line);
    if (line.empty() || line.front() == ';') {
        return false;
    }
    if (line.front() == '[') {
        // Without its closing bracket a line is no section header and ends no section.
        const auto close = line.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        inSection_ =
            !sectionSeen_ && EqualsIgnoreAsciiCase(Trim(line.substr(1, close - 1)), section_);
        sectionSeen_ = sectionSeen_ || inSection_;
        return false;
    }
    if (!inSection_) {
        return false;
    }
    // A key standing alone on its line counts as the key with an empty value.
    const auto eq = line.find('=');
    if (!EqualsIgnoreAsciiCase(Trim(line.substr(0, eq)), key_)) {
        return false;
    }
    std::string_view value =
        eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    // The value is a C string to whoever reads it: it ends at its first NUL.
    value = value.substr(0, value.find('\0'));
    value_ = std::string(value);
    found_ = true;
    return true;
}

std::string ProfileString(std::string_view iniText, std::string_view section,
                          std::string_view key) {
    ProfileReader reader(section, key);
    while (!iniText.empty()) {
        const auto eol = iniText.find('\n');
        if (reader.TakeLine(iniText.substr(0, eol))) {
            break;
        }
        iniText.remove_prefix(eol == std::string_view::npos ? iniText.size() : eol + 1);
    }
    return reader.Value();
}

}  // namespace platform
