// The run's report as JSON, for scripts and support tools.
#pragma once

#include <string>

#include "versionlist/report.hpp"

namespace cli {

// Always valid UTF-8 JSON: texts from the suite's files are decoded from CP932, file names
// and paths keep their UTF-8, and any byte that is neither becomes U+FFFD.
std::string JsonReport(const versionlist::RunReport& report);

}  // namespace cli
