// pelkor.exe: the desktop program that writes and shows the KOMA-R version list on Windows.
#include <windows.h>

#include "platform/process.hpp"
#include "platform/win32/wide.hpp"
#include "shell/batch_switch.hpp"
#include "shell/win32/list_app.hpp"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::PrepareProcess();
    // The batch switch is judged on the command line as typed, not as argv would split it.
    shell::CListApp app(
        shell::ArgumentsFromCommandLine(platform::win32::Narrow(::GetCommandLineW())));
    return app.InitInstance();
}
