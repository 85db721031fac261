// File names and paths between the file system's bytes and the texts Qt shows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace shell {

// The bytes as a text for a field or a label: well-formed UTF-8 as its characters, every other
// byte (0x80 to 0xFF) as the lone surrogate U+DC80 to U+DCFF, so no byte is lost.
QString TextFromBytes(std::string_view bytes);

// The bytes a text stands for: its characters in UTF-8, each lone surrogate U+DC80 to U+DCFF
// as the byte it stands for. Any other lone surrogate is written as U+FFFD.
std::string BytesFromText(const QString& text);

}  // namespace shell
