// pelkor-list's statuses as one table: the cases every system has are instantiated in
// pelkor_list_test.cpp, those that need a system's own entries (FIFOs, /dev, /proc) beside the
// tests of that system; the test itself is written once.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_tree.hpp"

namespace testing_support {

struct StatusCase {
    const char* label;
    std::function<void(const TempTree&)> make;
    int exitStatus;
    // The messages in order, given the tree; each is one stderr line.
    std::function<std::vector<std::string>(const TempTree&)> messages;
};

// Runs pelkor-list on the tree the case makes: its status, one stderr line per message, and
// nothing on stdout.
class ExitStatusTest : public ::testing::TestWithParam<StatusCase> {};

}  // namespace testing_support
