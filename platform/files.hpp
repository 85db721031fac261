// Low-level file access the list run uses: binary and text-mode reads, the list file's output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A file opened for reading. Read returns the count delivered, 0 at the end, -1 on error.
class InputFile {
public:
    virtual ~InputFile() = default;
    virtual long Read(char* buffer, std::size_t count) = 0;
    // Positions from the start of the file; positioning beyond the end succeeds.
    virtual bool Seek(std::int64_t offset) = 0;
    // When the position stands in a hole of a sparse file (bytes the file system does not
    // store, which read as zeros), moves to the hole's end and returns how many bytes it
    // passed over; 0 where there is no hole or the file system does not tell.
    virtual std::int64_t SkipHole() { return 0; }
};

// The list file being written. Write delivers all bytes or fails. Close finishes the file and
// reports the outcome: true only when every byte is in place under the file's name. A file
// destroyed without a successful Close leaves what stood under its name before untouched
// wherever the system allows.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool Write(const char* data, std::size_t count) = 0;
    virtual bool Close() = 0;
};

// The file system as the run sees it; tests substitute failures that root cannot provoke.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing regular file read-only; every byte is delivered as stored. Anything
    // else (a directory, pipe, socket or device, or a link to one) is never opened and fails,
    // so nothing on disk can make a reader wait forever or wake a device's driver.
    virtual std::unique_ptr<InputFile> OpenBinary(const std::string& path) = 0;
    // As OpenBinary, but reads follow the runtime's text-mode rules: TextModeFile here, the C
    // runtime's own text mode on Windows.
    virtual std::unique_ptr<InputFile> OpenText(const std::string& path);
    // Starts the list file at path. The new content replaces the old only when Close
    // succeeds: it is written to a new file beside it, which then takes the name; a link under
    // the name is replaced, never written through. Null when the file cannot be created, and
    // when a directory, pipe, socket or device stands under the name.
    virtual std::unique_ptr<OutputFile> Create(const std::string& path) = 0;
};

// The real file system.
FileSystem& SystemFileSystem();

// Text-mode reads over a binary file: within the bytes taken, CR LF becomes LF; a CR that is
// the last byte taken is dropped when the file's next byte is LF; Ctrl-Z ends the data.
class TextModeFile final : public InputFile {
public:
    explicit TextModeFile(std::unique_ptr<InputFile> raw) : raw_(std::move(raw)) {}
    long Read(char* buffer, std::size_t count) override;
    bool Seek(std::int64_t offset) override;

private:
    std::unique_ptr<InputFile> raw_;
    std::int64_t position_ = 0;  // raw offset of the next byte to take
};

// Reads a whole file as a text-mode stream does: CR LF becomes LF, a lone CR stays, Ctrl-Z
// ends the text. Returns false when the file cannot be opened; a read error ends the text.
bool ReadTextModeFile(FileSystem& fileSystem, const std::string& path, std::string& text);

}  // namespace platform
