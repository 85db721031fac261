// Decoding of the definition header's name and version fields.
#include "versionlist/definition_header.hpp"

#include "versionlist/catalogue.hpp"

namespace versionlist {

FieldRead NameField(std::size_t category) {
    return category == kKomaCategory ? FieldRead{48, 8} : FieldRead{64, 32};
}

std::string DefinitionName(std::size_t category, std::string_view delivered) {
    std::string name;
    if (category == kKomaCategory) {
        // The name runs to the first blank or the end of the field; a NUL in it is copied and
        // so ends the name when the line is written.
        return std::string(delivered.substr(0, delivered.find(' ')));
    }
    for (std::size_t i = 0; i < delivered.size() && delivered[i] != '\0'; ++i) {
        char c = delivered[i];
        if (name.empty() && (c == ' ' || c == '=')) {
            continue;  // leading blanks and equals signs
        }
        if (category == kKplCategory && c == '(') {
            break;  // a parenthesised remark follows the name
        }
        if (c == ' ' && i + 1 < delivered.size() && delivered[i + 1] == '=') {
            break;  // "name = ...": the last blank before the equals sign ends the name
        }
        if (c == '=') {
            break;
        }
        name.push_back(c);
    }
    return name;
}

std::string DefinitionVersion(std::size_t category, std::string_view delivered) {
    if (category == kKomaCategory) {
        // Four characters around the full stop: "0310" gives V03.10. Bytes the read did not
        // deliver (short file, Ctrl-Z) show as question marks.
        auto at = [&](std::size_t i) { return i < delivered.size() ? delivered[i] : '?'; };
        std::string text = "V";
        text += at(0);
        text += at(1);
        text += '.';
        text += at(2);
        text += at(3);
        return text;
    }
    // At most seven characters before a NUL; without a NUL among the first eight bytes,
    // those eight bytes.
    constexpr std::size_t kVersionBytes = 8;
    std::string_view text = delivered.substr(0, kVersionBytes);
    return std::string(text.substr(0, text.find('\0')));
}

}  // namespace versionlist
