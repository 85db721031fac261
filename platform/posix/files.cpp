// POSIX file access of the run: regular files only, and a list file that replaces the old one
// only once it is complete.
#include "platform/files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/paths.hpp"
#include "platform/posix/pending_file.hpp"

namespace platform {
namespace {

int CloseKeepingErrno(int fd) {
    const int saved = errno;
    const int result = ::close(fd);
    errno = saved;
    return result;
}

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

    std::int64_t SkipHole() override {
        const off_t here = ::lseek(fd_, 0, SEEK_CUR);
        if (here < 0) {
            return 0;
        }
        off_t data = ::lseek(fd_, here, SEEK_DATA);
        if (data < 0) {
            if (errno != ENXIO) {
                ::lseek(fd_, here, SEEK_SET);
                return 0;  // the file system does not tell where its holes are
            }
            // No data after here: a hole runs to the end of the file, if here is inside it.
            struct stat info {};
            if (::fstat(fd_, &info) != 0 || info.st_size <= here ||
                ::lseek(fd_, info.st_size, SEEK_SET) < 0) {
                ::lseek(fd_, here, SEEK_SET);
                return 0;
            }
            data = info.st_size;
        }
        return static_cast<std::int64_t>(data - here);
    }

private:
    int fd_;
};

// Writes into an open descriptor; the list written in place when no new file could be made.
class InPlaceOutputFile : public OutputFile {
public:
    explicit InPlaceOutputFile(int fd) : fd_(fd) {}
    ~InPlaceOutputFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    InPlaceOutputFile(const InPlaceOutputFile&) = delete;
    InPlaceOutputFile& operator=(const InPlaceOutputFile&) = delete;

    bool Write(const char* data, std::size_t count) override {
        while (count > 0) {
            const ssize_t n = ::write(fd_, data, count);
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
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

protected:
    // Forces the bytes to the disk, then closes; true only when both succeed.
    bool SyncAndClose() {
        const int fd = fd_;
        fd_ = -1;
        bool synced = ::fsync(fd) == 0 || errno == EINVAL;  // EINVAL: no syncing possible here
        return ::close(fd) == 0 && synced;
    }

private:
    int fd_;
};

// The new list under a temporary name beside the old one; Close gives it the list's name.
class ReplacingOutputFile final : public InPlaceOutputFile {
public:
    ReplacingOutputFile(int fd, std::string temporary, std::string path)
        : InPlaceOutputFile(fd), temporary_(std::move(temporary)), path_(std::move(path)) {
        posix::RememberPendingFile(temporary_.c_str());
    }
    ~ReplacingOutputFile() override {
        if (!committed_) {
            posix::ForgetPendingFile();
            ::unlink(temporary_.c_str());
        }
    }

    bool Close() override {
        // Written, on disk and closed before it takes the name: a run that ends at any point
        // before leaves the old list as it was.
        if (!SyncAndClose() || ::rename(temporary_.c_str(), path_.c_str()) != 0) {
            return false;
        }
        posix::ForgetPendingFile();
        committed_ = true;
        return true;
    }

private:
    std::string temporary_;
    std::string path_;
    bool committed_ = false;
};

// The directory part of path ("." for a bare name) and the name itself.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(8, '\0');
    for (char& c : suffix) {
        c = kLetters[generator() % (sizeof kLetters - 1)];
    }
    return suffix;
}

// A new file beside path, created exclusively and never through a link, with the mode a new
// file gets (the umask applies); -1 when none can be made there.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    const auto [directory, name] = SplitPath(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = (directory == "/" ? "/" : directory + "/") + "." + name + "." + RandomSuffix();
        const int fd =
            ::open(temporary.c_str(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The existing list itself, opened for writing without following a link and emptied.
int OpenInPlace(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::ftruncate(fd, 0) != 0) {
        CloseKeepingErrno(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenBinary(const std::string& path) override {
        // The type is checked before the open, so that the open of a device's driver never
        // runs, and again on the descriptor in case the entry changed in between. Read-only:
        // tools on read-only media or held by a running process stay readable; non-blocking
        // and no controlling terminal, whatever the entry turned into.
        struct stat info {};
        if (!IsWholePath(path) || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return nullptr;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            return nullptr;
        }
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        // O_NONBLOCK has no effect on a regular file, so it can stay set.
        return std::make_unique<PosixInputFile>(fd);
    }

    std::unique_ptr<OutputFile> Create(const std::string& path) override {
        if (!IsWholePath(path)) {
            return nullptr;
        }
        // Nothing, a regular file or a link under the name is replaced. A directory is no
        // list; a pipe, socket or device would take the list somewhere else or block the run.
        struct stat old {};
        const bool exists = ::lstat(path.c_str(), &old) == 0;
        if (!exists && errno != ENOENT) {
            return nullptr;
        }
        if (exists && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) {
            return nullptr;
        }
        std::string temporary;
        if (const int fd = CreateTemporaryBeside(path, temporary); fd >= 0) {
            if (exists && S_ISREG(old.st_mode)) {
                // An existing list keeps its mode and, where the system allows, its owner.
                ::fchmod(fd, old.st_mode & 07777);
                if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
                    // A user may not give a file away; the list is then the user's own.
                }
            }
            return std::make_unique<ReplacingOutputFile>(fd, std::move(temporary), path);
        }
        // Where no new file can be made (a directory the user may not create in, holding a
        // list the user may write), the list is rewritten in place as it always was.
        if (exists && S_ISREG(old.st_mode)) {
            if (const int fd = OpenInPlace(path); fd >= 0) {
                return std::make_unique<InPlaceOutputFile>(fd);
            }
        }
        return nullptr;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

}  // namespace platform
