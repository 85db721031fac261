// The file system the tests hand the run: the real one, or files held in memory, with chosen
// operations made to fail and files changed at chosen moments. Everything not asked to fail
// is done for real, so a test changes exactly one operation and the rest stays genuine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.hpp"

namespace testing_support {

// A file held in memory. Positioning beyond the end succeeds, as on disk. The holes given
// (offset and length, in order) read as the zeros they hold and are reported by SkipHole as a
// sparse file's are; a read ends where one begins, so the next read starts in it.
class MemoryInputFile final : public platform::InputFile {
public:
    explicit MemoryInputFile(std::string bytes,
                             std::vector<std::pair<std::int64_t, std::int64_t>> holes = {})
        : bytes_(std::move(bytes)), holes_(std::move(holes)) {}
    long Read(char* buffer, std::size_t count) override;
    bool Seek(std::int64_t offset) override;
    std::int64_t SkipHole() override;

private:
    std::string bytes_;
    std::vector<std::pair<std::int64_t, std::int64_t>> holes_;
    std::size_t position_ = 0;
};

// Keeps what is written to it in a string; can be told to take only so many bytes, as a disk
// that fills up, and to fail its close.
class MemoryOutputFile final : public platform::OutputFile {
public:
    explicit MemoryOutputFile(std::string& sink, std::int64_t limit = -1, bool failClose = false)
        : sink_(sink), limit_(limit), failClose_(failClose) {}
    bool Write(const char* data, std::size_t count) override;
    bool Close() override { return !failClose_; }

private:
    std::string& sink_;
    std::int64_t limit_;
    bool failClose_;
};

// What happens to the reads of one path.
struct FileHooks {
    // Called before the real open: the place to remove or change the file under the run.
    std::function<void()> beforeOpen;
    // Called after each read with the running count of reads and the bytes delivered.
    std::function<void(int readNumber, long delivered)> afterRead;
    bool failOpen = false;
    // Seek number n (1-based) fails; 0 never; -1 every one.
    int failSeekNumber = 0;
    // Read number n (1-based) fails; 0 never; -1 every one.
    int failReadNumber = 0;
};

// Every read the run made of one path.
struct ReadLog {
    std::size_t reads = 0;
    std::size_t largestRequest = 0;
    std::int64_t delivered = 0;
    std::int64_t holesSkipped = 0;
};

class TestFileSystem final : public platform::FileSystem {
public:
    std::unique_ptr<platform::InputFile> OpenBinary(const std::string& path) override;
    std::unique_ptr<platform::OutputFile> Create(const std::string& path) override;

    // Files held in memory by path; every other path is opened on disk.
    std::map<std::string, std::string> memoryFiles;
    // The holes of files held in memory (offset and length), as a sparse file has them.
    std::map<std::string, std::vector<std::pair<std::int64_t, std::int64_t>>> memoryHoles;
    // When set, every path that is not in memoryFiles opens these bytes.
    std::optional<std::string> everyFile;
    // Hooks by the full path the run asks for; hooksForAll applies to paths without their own.
    std::map<std::string, FileHooks> hooks;
    std::optional<FileHooks> hooksForAll;
    std::map<std::string, ReadLog> readLogs;

    // The list file: every path the run asked to create, in order.
    std::vector<std::string> createRequests;
    bool failCreate = false;
    // When set, the list goes into this string instead of onto the disk.
    std::string* listInMemory = nullptr;
    // The list accepts this many bytes, then every write fails; negative: no limit.
    std::int64_t writeLimit = -1;
    bool failClose = false;
};

}  // namespace testing_support
