// Directory entries a hostile install tree holds on POSIX systems: pipes, sockets, devices,
// trees deeper than the path limit. (Sparse files, which every system has: system.hpp.)
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/system.hpp"

namespace testing_support {

// Directory entries that are not regular files. Each creates the entry at path.
void MakeFifo(const std::string& path);
// A character device node with the numbers of /dev/null, private to the test; false where
// the process may not make device nodes.
bool MakeNullDevice(const std::string& path);
// A Unix-domain socket bound to path; the listening descriptor is closed again, the entry stays.
void MakeSocket(const std::string& path);

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

}  // namespace testing_support
