// One run of the version list over a test tree, with everything it showed, reported and wrote.
#pragma once

#include <string>
#include <vector>

#include "platform/files.hpp"
#include "versionlist/report.hpp"

namespace testing_support {

struct RunOverResult {
    versionlist::RunOutcome outcome;
    versionlist::RunResult result;
    std::vector<std::string> messages;  // as the person reads them, in order
    versionlist::RunReport report;
    std::string list;  // the list file's bytes as stored after the run; empty when none
};

// Runs the list for fieldText as the directory field's text, its messages recorded.
RunOverResult RunOver(const std::string& fieldText,
                      platform::FileSystem& files = platform::SystemFileSystem());

// The bytes of the file at path as stored; empty when it cannot be read.
std::string StoredBytes(const std::string& path);

}  // namespace testing_support
