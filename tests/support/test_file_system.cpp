// The tests' file system.
#include "support/test_file_system.hpp"

#include <algorithm>
#include <cstring>

namespace testing_support {
namespace {

bool Triggers(int number, int count) {
    return number == -1 || number == count;
}

class HookedInputFile final : public platform::InputFile {
public:
    HookedInputFile(std::unique_ptr<platform::InputFile> real, FileHooks hooks, ReadLog& log)
        : real_(std::move(real)), hooks_(std::move(hooks)), log_(log) {}

    long Read(char* buffer, std::size_t count) override {
        ++reads_;
        ++log_.reads;
        log_.largestRequest = std::max(log_.largestRequest, count);
        if (Triggers(hooks_.failReadNumber, reads_)) {
            return -1;
        }
        const long n = real_->Read(buffer, count);
        if (n > 0) {
            log_.delivered += n;
        }
        if (hooks_.afterRead) {
            hooks_.afterRead(reads_, n);
        }
        return n;
    }

    bool Seek(std::int64_t offset) override {
        ++seeks_;
        return !Triggers(hooks_.failSeekNumber, seeks_) && real_->Seek(offset);
    }

    std::int64_t SkipHole() override {
        const std::int64_t skipped = real_->SkipHole();
        log_.holesSkipped += skipped;
        return skipped;
    }

private:
    std::unique_ptr<platform::InputFile> real_;
    FileHooks hooks_;
    ReadLog& log_;
    int reads_ = 0;
    int seeks_ = 0;
};

// A disk that fills up and a close that fails, over the real list file.
class LimitedOutputFile final : public platform::OutputFile {
public:
    LimitedOutputFile(std::unique_ptr<platform::OutputFile> real, std::int64_t limit,
                      bool failClose)
        : real_(std::move(real)), limit_(limit), failClose_(failClose) {}

    bool Write(const char* data, std::size_t count) override {
        if (limit_ < 0) {
            return real_->Write(data, count);
        }
        // What fits is written, the rest is refused.
        const auto take = std::min(static_cast<std::size_t>(limit_ - written_), count);
        if (take > 0 && !real_->Write(data, take)) {
            return false;
        }
        written_ += static_cast<std::int64_t>(take);
        return take == count;
    }
    bool Close() override {
        // A failing close leaves the old list in place, as a real one would.
        return !failClose_ && real_->Close();
    }

private:
    std::unique_ptr<platform::OutputFile> real_;
    std::int64_t limit_;
    std::int64_t written_ = 0;
    bool failClose_;
};

}  // namespace

long MemoryInputFile::Read(char* buffer, std::size_t count) {
    if (position_ >= bytes_.size()) {
        return 0;
    }
    // A read ends where a hole begins, so that the next one starts in the hole; within a hole
    // it delivers its zeros.
    for (const auto& [start, length] : holes_) {
        if (static_cast<std::int64_t>(position_) < start) {
            count = std::min(count, static_cast<std::size_t>(start) - position_);
            break;
        }
    }
    const std::size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return static_cast<long>(n);
}

bool MemoryInputFile::Seek(std::int64_t offset) {
    if (offset < 0) {
        return false;
    }
    position_ = static_cast<std::size_t>(offset);
    return true;
}

std::int64_t MemoryInputFile::SkipHole() {
    const auto here = static_cast<std::int64_t>(position_);
    for (const auto& [start, length] : holes_) {
        if (here >= start && here < start + length) {
            position_ = static_cast<std::size_t>(start + length);
            return start + length - here;
        }
    }
    return 0;
}

bool MemoryOutputFile::Write(const char* data, std::size_t count) {
    if (limit_ >= 0 && sink_.size() + count > static_cast<std::size_t>(limit_)) {
        sink_.append(data, static_cast<std::size_t>(limit_) -
                               std::min(sink_.size(), static_cast<std::size_t>(limit_)));
        return false;
    }
    sink_.append(data, count);
    return true;
}

std::unique_ptr<platform::InputFile> TestFileSystem::OpenBinary(const std::string& path) {
    FileHooks pathHooks;
    if (const auto it = hooks.find(path); it != hooks.end()) {
        pathHooks = it->second;
    } else if (hooksForAll) {
        pathHooks = *hooksForAll;
    }
    if (pathHooks.beforeOpen) {
        pathHooks.beforeOpen();
    }
    if (pathHooks.failOpen) {
        return nullptr;
    }
    std::unique_ptr<platform::InputFile> real;
    if (const auto it = memoryFiles.find(path); it != memoryFiles.end()) {
        const auto holes = memoryHoles.find(path);
        real = std::make_unique<MemoryInputFile>(
            it->second, holes != memoryHoles.end()
                            ? holes->second
                            : std::vector<std::pair<std::int64_t, std::int64_t>>{});
    } else if (everyFile) {
        real = std::make_unique<MemoryInputFile>(*everyFile);
    } else {
        real = platform::SystemFileSystem().OpenBinary(path);
    }
    if (!real) {
        return nullptr;
    }
    return std::make_unique<HookedInputFile>(std::move(real), std::move(pathHooks), readLogs[path]);
}

std::unique_ptr<platform::OutputFile> TestFileSystem::Create(const std::string& path) {
    createRequests.push_back(path);
    if (failCreate) {
        return nullptr;
    }
    if (listInMemory != nullptr) {
        listInMemory->clear();
        return std::make_unique<MemoryOutputFile>(*listInMemory, writeLimit, failClose);
    }
    auto real = platform::SystemFileSystem().Create(path);
    if (!real) {
        return nullptr;
    }
    return std::make_unique<LimitedOutputFile>(std::move(real), writeLimit, failClose);
}

}  // namespace testing_support
