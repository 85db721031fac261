// The runtime's text-mode reading rules, over any binary file.
#include <vector>

#include "platform/files.hpp"

namespace platform {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = '\x1a';

}  // namespace

std::unique_ptr<InputFile> FileSystem::OpenText(const std::string& path) {
    auto raw = OpenBinary(path);
    if (!raw) {
        return nullptr;
    }
    return std::make_unique<TextModeFile>(std::move(raw));
}

bool TextModeFile::Seek(std::int64_t offset) {
    if (!raw_->Seek(offset)) {
        return false;
    }
    position_ = offset;
    return true;
}

long TextModeFile::Read(char* buffer, std::size_t count) {
    const long taken = raw_->Read(buffer, count);
    if (taken <= 0) {
        return taken;
    }
    position_ += taken;
    const auto end = static_cast<std::size_t>(taken);
    std::size_t out = 0;
    for (std::size_t i = 0; i < end; ++i) {
        const char c = buffer[i];
        if (c == kCtrlZ) {
            break;
        }
        if (c == kCr) {
            if (i + 1 < end) {
                if (buffer[i + 1] == kLf) {
                    continue;  // the LF that follows is delivered in its place
                }
            } else {
                // Look at the file's next byte, then put the position back so that a
                // following read starts where this one ended.
                char next = 0;
                const bool pair = raw_->Read(&next, 1) == 1 && next == kLf;
                raw_->Seek(position_);
                if (pair) {
                    break;  // the pair's LF belongs to the file's next bytes
                }
            }
        }
        buffer[out++] = c;
    }
    return static_cast<long>(out);
}

bool ReadTextModeFile(FileSystem& fileSystem, const std::string& path, std::string& text) {
    text.clear();
    auto file = fileSystem.OpenBinary(path);
    if (!file) {
        return false;
    }
    std::vector<char> raw;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const long n = file->Read(chunk.data(), chunk.size());
        if (n <= 0) {
            break;
        }
        raw.insert(raw.end(), chunk.data(), chunk.data() + n);
    }
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == kCtrlZ) {
            break;
        }
        if (c == kCr && i + 1 < raw.size() && raw[i + 1] == kLf) {
            continue;
        }
        text.push_back(c);
    }
    return true;
}

}  // namespace platform
