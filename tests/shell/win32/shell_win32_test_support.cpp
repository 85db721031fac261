// What the tests of the Windows program share.
#include "shell/win32/shell_win32_test_support.hpp"

namespace shell_test {

ExitRecord& LastExit() {
    static ExitRecord record;
    return record;
}

void RecordExit(UINT code) {
    ExitRecord& record = LastExit();
    ++record.calls;
    record.code = code;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (::IsWindowVisible(window)) {
                LastExit().dialogVisible = true;
            }
            return TRUE;
        },
        0);
}

}  // namespace shell_test
