// Tools for hostile install trees: odd directory entries, a file system that fails or changes
// files on cue, deep trees beyond the path limits, and pelkor-list run as a real process.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.hpp"

namespace hostile {

// Directory entries that are not regular files. Each creates the entry at path.
void MakeFifo(const std::string& path);
// A Unix-domain socket bound to path; the listening descriptor is closed again, the entry stays.
void MakeSocket(const std::string& path);

// A sparse file of size bytes holding the given pieces at their offsets.
void MakeSparseFile(const std::string& path, std::int64_t size,
                    const std::vector<std::pair<std::int64_t, std::string>>& pieces);

// Peak resident memory of this process so far, in KiB.
long PeakResidentKiB();

// Hooks keyed by the full path the run asks for. Every hook that is not set lets the real file
// system do the work, so a test changes exactly one operation and the rest stays genuine.
struct FileHooks {
    // Called before the real open: the place to remove or change the file under the run.
    std::function<void()> beforeOpen;
    // Called after each real read with the running count of reads and the bytes delivered.
    std::function<void(int readNumber, long delivered)> afterRead;
    bool failOpen = false;
    // Seek number n (1-based) fails; 0 never.
    int failSeekNumber = 0;
    // Read number n (1-based) fails; 0 never.
    int failReadNumber = 0;
};

struct ReadLog {
    std::size_t reads = 0;
    std::size_t largestRequest = 0;
    std::int64_t delivered = 0;
};

// The real file system with hooks for chosen paths and failure switches for the list file.
class HookedFileSystem final : public platform::FileSystem {
public:
    std::unique_ptr<platform::InputFile> OpenBinary(const std::string& path) override;
    std::unique_ptr<platform::OutputFile> Create(const std::string& path) override;

    std::map<std::string, FileHooks> hooks;
    // Per path: every read the run made through this file system.
    std::map<std::string, ReadLog> readLogs;

    bool failCreate = false;
    // The list file accepts this many bytes, then every write fails; negative: no limit.
    std::int64_t writeLimit = -1;
    bool failClose = false;
};

// A directory chain whose full path is minLength bytes long, built and removed with
// descriptor-relative calls, so that it may exceed the system's path limit.
class DeepDir {
public:
    DeepDir(const std::string& base, std::size_t minLength);
    ~DeepDir();
    DeepDir(const DeepDir&) = delete;
    DeepDir& operator=(const DeepDir&) = delete;

    const std::string& Path() const { return path_; }
    // Creates relative (one or two components, "bin/x") below the chain with the given bytes.
    void WriteFile(std::string_view relative, std::string_view bytes) const;
    void MakeDir(std::string_view name) const;

private:
    std::string base_;
    std::string path_;
    std::vector<std::string> components_;
    int leafFd_ = -1;
};

struct ProcessResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs argv with the given extra environment, stdin closed, killing it after timeoutSeconds.
ProcessResult RunProcess(const std::vector<std::string>& argv, int timeoutSeconds,
                         const std::vector<std::string>& extraEnv = {});

// The text-mode image of bytes: every LF stored as CR LF.
std::string TextModeBytes(std::string_view bytes);

}  // namespace hostile
