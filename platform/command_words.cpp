// Splitting a command into words as a POSIX shell splits a simple command.
#include "platform/editor.hpp"

namespace platform {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

std::vector<std::string> SplitCommandWords(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (IsSeparator(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const auto end = command.find('\'', i + 1);
            word.append(command.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
            i = end == std::string_view::npos ? command.size() : end;
        } else if (c == '"') {
            for (++i; i < command.size() && command[i] != '"'; ++i) {
                if (command[i] == '\\' && i + 1 < command.size() &&
                    std::string_view("$`\"\\\n").find(command[i + 1]) != std::string_view::npos) {
                    ++i;
                }
                word.push_back(command[i]);
            }
        } else if (c == '\\') {
            if (i + 1 < command.size()) {
                word.push_back(command[++i]);
            }
        } else {
            word.push_back(c);
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace platform
