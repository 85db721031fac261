// pelkor-list run as a real process by the tests of every system: the program built beside
// them (PELKOR_LIST_EXE, defined by the test target), its stderr lines, the small suite's list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/list_rules.hpp"
#include "support/process.hpp"

#ifndef PELKOR_LIST_EXE
#error "PELKOR_LIST_EXE names the pelkor-list program under test"
#endif

namespace testing_support {

// Options with the given fields set.
inline ProcessOptions With(const std::function<void(ProcessOptions&)>& set) {
    ProcessOptions options;
    set(options);
    return options;
}

inline ProcessResult RunCli(const std::vector<std::string>& arguments,
                            ProcessOptions options = {}) {
    std::vector<std::string> argv = {PELKOR_LIST_EXE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProcess(argv, options);
}

// A message as the command line shows it: one line, trailing line feeds and blanks dropped,
// an inner line feed written as "\n".
inline std::string StderrLine(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    std::string line = "pelkor-list: ";
    for (char c : message) {
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return line + "\n";
}

inline std::string SmallSuiteList() {
    return ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("XKPL-R V2.10");
}

}  // namespace testing_support
