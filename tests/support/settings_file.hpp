// The suite's settings file rivazivu.ini where the programs look for it, for one test.
#pragma once

#include <memory>
#include <string_view>

#include "support/temp_tree.hpp"

namespace testing_support {

// Puts iniText (lines ending in "\n") in place as the suite's settings file for the lifetime
// of the object: on POSIX in a directory of tree that WINDIR names (XDG_CONFIG_HOME pointed
// at nothing), on Windows in the Windows directory, in UTF-16 so that any path survives the
// system's profile functions. What stood there before is put back afterwards.
class ScopedSettingsFile {
public:
    ScopedSettingsFile(const TempTree& tree, std::string_view iniText);
    ~ScopedSettingsFile();
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace testing_support
