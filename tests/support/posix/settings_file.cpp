// The settings file on POSIX: in a directory of the test's tree named by WINDIR.
#include "support/settings_file.hpp"

#include <string>

namespace testing_support {

struct ScopedSettingsFile::State {
    State(const TempTree& tree, std::string_view iniText)
        : windir("WINDIR", tree.Path("windir").c_str()),
          config("XDG_CONFIG_HOME", tree.Path("no-config").c_str()) {
        tree.WriteFile("windir/rivazivu.ini", iniText);
    }
    ScopedEnv windir;
    ScopedEnv config;
};

ScopedSettingsFile::ScopedSettingsFile(const TempTree& tree, std::string_view iniText)
    : state_(std::make_unique<State>(tree, iniText)) {}

ScopedSettingsFile::~ScopedSettingsFile() = default;

}  // namespace testing_support
