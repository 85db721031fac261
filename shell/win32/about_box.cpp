// The About box: program name, version and legal notice (template 100).
#include "shell/win32/about_box.hpp"

#include "resources/win32/resource.h"

namespace shell {

void OnHelpKey(const Help& help, int templateNumber, const HELPINFO& info) {
    const bool modified =
        ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0;
    // A help request from an open menu is no dialog's.
    if (!modified && info.iContextType == HELPINFO_WINDOW) {
        help.Open(kHelpTopicBase + templateNumber);
    }
}

CAboutDlg::CAboutDlg(HWND owner, const Help& help)
    : TemplateDialog(IDD_ABOUTBOX, owner), help_(help) {}

bool CAboutDlg::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
    if (message == WM_HELP) {
        OnHelpKey(help_, IDD_ABOUTBOX, *reinterpret_cast<const HELPINFO*>(lParam));
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace shell
