// Settings-file lookup and Windows INI reading rules on POSIX.
#include "platform/settings.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/dir_search.hpp"

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

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::optional<std::string> FindSettingsFile(std::string_view name) {
    std::vector<std::string> directories;
    if (auto windir = Env("WINDIR"); !windir.empty()) {
        directories.push_back(windir);
    }
    if (auto xdg = Env("XDG_CONFIG_HOME"); !xdg.empty()) {
        directories.push_back(xdg);
    } else if (auto home = Env("HOME"); !home.empty()) {
        directories.push_back(home + "/.config");
    }
    directories.push_back("/etc");
    for (auto& directory : directories) {
        if (directory.back() != '/') {
            directory.push_back('/');
        }
        // The name is matched without regard to case, as on the suite's own platform;
        // of several spellings the first in search order is taken.
        auto matches = FindMatches(directory + std::string(name));
        if (!matches.empty()) {
            return directory + matches.front();
        }
    }
    return std::nullopt;
}

std::string ProfileString(std::string_view iniText, std::string_view section,
                          std::string_view key) {
    bool inSection = false;
    bool sectionSeen = false;
    while (!iniText.empty()) {
        auto eol = iniText.find('\n');
        std::string_view line = Trim(iniText.substr(0, eol));
        iniText.remove_prefix(eol == iniText.npos ? iniText.size() : eol + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string_view name =
                Trim(line.substr(1, close == line.npos ? line.npos : close - 1));
            if (inSection) {
                inSection = false;
            }
            if (!sectionSeen && EqualsIgnoreAsciiCase(name, section)) {
                inSection = true;
                sectionSeen = true;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        auto eq = line.find('=');
        if (eq == line.npos || !EqualsIgnoreAsciiCase(Trim(line.substr(0, eq)), key)) {
            continue;
        }
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return {};
}

std::string ReadProfileString(std::string_view fileName, std::string_view section,
                              std::string_view key) {
    auto path = FindSettingsFile(fileName);
    if (!path) {
        return {};
    }
    std::ifstream in(*path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ProfileString(text.str(), section, key);
}

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            return std::string(buffer.data());
        }
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace platform
