// The command-line arguments text and the batch switch "-maruhi" found in it.
#include "shell/batch_switch.hpp"

namespace shell {

namespace {

bool IsBlankOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x01 && byte <= 0x20;
}

std::string WithoutLeadingBlanks(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlankOrControl(text[start])) {
        ++start;
    }
    return std::string(text.substr(start));
}

}  // namespace

std::string ArgumentsText(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            text.push_back(' ');
        }
        text.append(argv[i]);
    }
    return WithoutLeadingBlanks(text);
}

std::string ArgumentsFromCommandLine(std::string_view commandLine) {
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        end = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        // A NUL cannot stand in a command line; code 0x00 to 0x20 ends the name.
        while (end < commandLine.size() && static_cast<unsigned char>(commandLine[end]) > 0x20) {
            ++end;
        }
    }
    return WithoutLeadingBlanks(commandLine.substr(end));
}

bool IsBatchSwitch(std::string_view argumentsText) {
    // A tab or any other character belongs to the word; only a blank ends it.
    return argumentsText.substr(0, argumentsText.find(' ')) == kBatchSwitch;
}

}  // namespace shell
