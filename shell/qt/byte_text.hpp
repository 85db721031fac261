// File names and paths between the file system's bytes and the texts Qt shows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace shell {

// The bytes as a text for a field or a label.
QString TextFromBytes(std::string_view bytes);

// The bytes a text shown by TextFromBytes stands for.
std::string BytesFromText(const QString& text);

}  // namespace shell
