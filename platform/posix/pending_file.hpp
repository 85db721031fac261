// The list file being written under a temporary name, for removal when the process is told to
// terminate before the file takes its place.
#pragma once

namespace platform::posix {

// Registers the temporary file's path (a C string that stays valid until Forget); one at a
// time, since a run writes one list.
void RememberPendingFile(const char* path);
void ForgetPendingFile();

}  // namespace platform::posix
