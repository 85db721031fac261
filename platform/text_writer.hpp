// Buffered text-mode output: every LF written is stored as CR LF, and every failure is kept.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/files.hpp"

namespace platform {

class TextModeWriter {
public:
    explicit TextModeWriter(std::unique_ptr<OutputFile> file);
    // Drops a file that was never closed.
    ~TextModeWriter();
    TextModeWriter(const TextModeWriter&) = delete;
    TextModeWriter& operator=(const TextModeWriter&) = delete;

    // Writes the bytes with each LF turned into CR LF, whatever stands before it. After a
    // failure further writes are dropped; the failure is reported by Close.
    void Write(std::string_view bytes);
    // Flushes and closes; true only when every byte reached the file and the close succeeded.
    // After a failed write the file is dropped without being closed, so it never takes the
    // place of the file it was to replace.
    bool Close();
    bool Failed() const { return failed_; }

private:
    void Flush();

    std::unique_ptr<OutputFile> file_;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace platform
