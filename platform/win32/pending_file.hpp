// The list file being written under a temporary name, for removal when the console tells the
// process to end before the file takes its place.
#pragma once

namespace platform::win32 {

// Registers the temporary file's path (a wide C string that stays valid until Forget); one at
// a time, since a run writes one list.
void RememberPendingFile(const wchar_t* path);
void ForgetPendingFile();

}  // namespace platform::win32
