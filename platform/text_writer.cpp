// Buffered text-mode output over an OutputFile.
#include "platform/text_writer.hpp"

namespace platform {
namespace {
constexpr std::size_t kBufferSize = 4096;
}

TextModeWriter::TextModeWriter(std::unique_ptr<OutputFile> file) : file_(std::move(file)) {
    buffer_.reserve(kBufferSize * 2);
}

TextModeWriter::~TextModeWriter() = default;

void TextModeWriter::Write(std::string_view bytes) {
    if (failed_ || !file_) {
        return;
    }
    for (char c : bytes) {
        if (c == '\n') {
            buffer_.push_back('\r');
        }
        buffer_.push_back(c);
    }
    if (buffer_.size() >= kBufferSize) {
        Flush();
    }
}

void TextModeWriter::Flush() {
    if (!failed_ && !buffer_.empty() && !file_->Write(buffer_.data(), buffer_.size())) {
        failed_ = true;
    }
    buffer_.clear();
}

bool TextModeWriter::Close() {
    if (!file_) {
        return !failed_;
    }
    Flush();
    // A file that missed a write is dropped, never finished: what stood under its name before
    // stays in place.
    if (!failed_ && !file_->Close()) {
        failed_ = true;
    }
    file_.reset();
    return !failed_;
}

}  // namespace platform
