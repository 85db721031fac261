// POSIX implementation of the run's file access and the text-mode read rules.
#include "platform/files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = '\x1a';

class PosixInputFile final : public InputFile {
public:
    explicit PosixInputFile(int fd) : fd_(fd) {}
    ~PosixInputFile() override { ::close(fd_); }
    PosixInputFile(const PosixInputFile&) = delete;
    PosixInputFile& operator=(const PosixInputFile&) = delete;

    long Read(char* buffer, std::size_t count) override {
        ssize_t n;
        do {
            n = ::read(fd_, buffer, count);
        } while (n < 0 && errno == EINTR);
        return n < 0 ? -1 : static_cast<long>(n);
    }
    bool Seek(std::int64_t offset) override {
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) != static_cast<off_t>(-1);
    }

private:
    int fd_;
};

class PosixOutputFile final : public OutputFile {
public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}
    ~PosixOutputFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    PosixOutputFile(const PosixOutputFile&) = delete;
    PosixOutputFile& operator=(const PosixOutputFile&) = delete;

    bool Write(const char* data, std::size_t count) override {
        while (count > 0) {
            ssize_t n = ::write(fd_, data, count);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            data += n;
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }
    bool Close() override {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenBinary(const std::string& path) override {
        // Read-only: tools on read-only media or held by a running process stay readable.
        // Non-blocking so that a pipe cannot stall the open; only regular files are read.
        int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            return nullptr;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        // O_NONBLOCK has no effect on a regular file, so it can stay set.
        return std::make_unique<PosixInputFile>(fd);
    }

    std::unique_ptr<OutputFile> Create(const std::string& path) override {
        int fd = ::open(path.c_str(),
                        O_RDWR | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) {
            return nullptr;
        }
        // A pipe or socket under the list's name would take the list nowhere or block the run;
        // a link to a block device would have the list written over a disk's first sectors.
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) ||
            S_ISBLK(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) {
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        }
        return std::make_unique<PosixOutputFile>(fd);
    }
};

}  // namespace

std::unique_ptr<InputFile> FileSystem::OpenText(const std::string& path) {
    auto raw = OpenBinary(path);
    if (!raw) {
        return nullptr;
    }
    return std::make_unique<TextModeFile>(std::move(raw));
}

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

bool TextModeFile::Seek(std::int64_t offset) {
    if (!raw_->Seek(offset)) {
        return false;
    }
    position_ = offset;
    return true;
}

long TextModeFile::Read(char* buffer, std::size_t count) {
    long taken = raw_->Read(buffer, count);
    if (taken <= 0) {
        return taken;
    }
    position_ += taken;
    std::size_t out = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(taken); ++i) {
        char c = buffer[i];
        if (c == kCtrlZ) {
            break;
        }
        if (c == kCr) {
            if (i + 1 < static_cast<std::size_t>(taken)) {
                if (buffer[i + 1] == kLf) {
                    continue;  // the LF that follows is delivered in its place
                }
            } else {
                // Look at the file's next byte, then put the position back so that a
                // following read starts where this one ended.
                char next = 0;
                bool pair = raw_->Read(&next, 1) == 1 && next == kLf;
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

bool ReadTextModeFile(const std::string& path, std::string& text) {
    text.clear();
    auto file = SystemFileSystem().OpenBinary(path);
    if (!file) {
        return false;
    }
    std::vector<char> raw;
    char chunk[16384];
    for (;;) {
        long n = file->Read(chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        raw.insert(raw.end(), chunk, chunk + n);
    }
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
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
