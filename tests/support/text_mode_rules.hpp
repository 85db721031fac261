// The text-mode rules written out plainly, byte by byte, for tests and fuzz targets to compare
// against.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace testing_support {

// What a text-mode read of count bytes at offset delivers from file.
inline std::string TextModeRead(const std::string& file, std::size_t offset, std::size_t count) {
    if (offset >= file.size()) {
        return {};
    }
    const std::string taken = file.substr(offset, count);
    const std::size_t after = offset + taken.size();
    std::string delivered;
    for (std::size_t i = 0; i < taken.size(); ++i) {
        char c = taken[i];
        if (c == '\x1a') {
            break;  // Ctrl-Z ends the data
        }
        if (c == '\r') {
            bool last = i + 1 == taken.size();
            if (!last && taken[i + 1] == '\n') {
                continue;  // CR LF within the bytes taken: the LF alone
            }
            if (last && after < file.size() && file[after] == '\n') {
                continue;  // a final CR whose LF is the file's next byte is dropped
            }
        }
        delivered.push_back(c);
    }
    return delivered;
}

// The list's text-mode output: every LF stored as CR LF.
inline std::string StoredText(std::string_view text) {
    std::string stored;
    for (char c : text) {
        if (c == '\n') {
            stored.push_back('\r');
        }
        stored.push_back(c);
    }
    return stored;
}

}  // namespace testing_support
