// The application object: the look every dialog shares, then the main dialog until it closes.
#pragma once

#include <string>

namespace shell {

class CListApp {
public:
    // argumentsText is the command line less the program name (ArgumentsFromCommandLine).
    explicit CListApp(std::string argumentsText) : argumentsText_(std::move(argumentsText)) {}

    // Runs the main dialog until it closes (in batch mode the process ends inside it) and
    // returns the process's exit code, 0.
    int InitInstance();

private:
    std::string argumentsText_;
};

}  // namespace shell
