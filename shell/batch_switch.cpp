// The command-line arguments text and the batch switch "-maruhi" found in it.
#include "shell/batch_switch.hpp"

namespace shell {

std::string ArgumentsText(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            text.push_back(' ');
        }
        text.append(argv[i]);
    }
    std::size_t start = 0;
    while (start < text.size() && static_cast<unsigned char>(text[start]) >= 0x01 &&
           static_cast<unsigned char>(text[start]) <= 0x20) {
        ++start;
    }
    return text.substr(start);
}

bool IsBatchSwitch(std::string_view argumentsText) {
    // A tab or any other character belongs to the word; only a blank ends it.
    return argumentsText.substr(0, argumentsText.find(' ')) == kBatchSwitch;
}

}  // namespace shell
