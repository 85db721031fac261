// The application object: the look every dialog shares, then the main dialog until it closes.
#include "shell/win32/list_app.hpp"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "shell/win32/main_dialog.hpp"

namespace shell {

int CListApp::InitInstance() {
    // The controls in the system's current look (Common Controls 6, which the manifest asks
    // for); without them the classic look remains, which serves as well.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);
    CListMainDlg dialog(argumentsText_);
    dialog.DoModal();
    return 0;
}

}  // namespace shell
