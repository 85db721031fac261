// File names and paths between the file system's bytes and the texts Qt shows.
#include "shell/qt/byte_text.hpp"

namespace shell {

QString TextFromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string BytesFromText(const QString& text) {
    return text.toStdString();
}

}  // namespace shell
