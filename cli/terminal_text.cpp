// Escaping control characters for a terminal.
#include "cli/terminal_text.hpp"

#include <cstdio>

namespace cli {
namespace {

void AppendEscape(std::string& out, const char* format, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    out.append(escape);
}

}  // namespace

std::string EscapeControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) {
            AppendEscape(out, "\\x%02x", c);
        } else if (c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // U+0080..U+009F: a terminal takes U+009B as the start of a control sequence.
            AppendEscape(out, "\\u%04x", static_cast<unsigned char>(utf8[++i]));
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string MessageLine(std::string_view program, std::string_view message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.remove_suffix(1);
    }
    std::string line(program);
    line.append(": ");
    for (char c : EscapeControls(message)) {
        if (c == '\n') {
            line.append("\\n");
        } else {
            line.push_back(c);
        }
    }
    line.push_back('\n');
    return line;
}

}  // namespace cli
