// Regular files as the run takes them: nothing else under a name is ever read.
#pragma once

#include <string>

#include "platform/win32/wide.hpp"

namespace platform::win32 {

// Opens path (a SystemPath) for reading, sharing it with every other opener, only when it is a
// regular file: the attributes are checked before the open, so a directory or device is never
// opened, and the handle afterwards, in case the name led elsewhere (a link) or changed in
// between. extraFlags go to CreateFileW. An invalid handle otherwise. attributes receives
// the file's attributes when given.
Handle OpenRegularFile(const std::wstring& path, DWORD extraFlags = 0, DWORD* attributes = nullptr);

// True when path (a SystemPath) names a regular file, following links.
bool IsRegularFilePath(const std::wstring& path);

}  // namespace platform::win32
