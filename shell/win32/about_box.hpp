// The About box: program name, version and legal notice (template 100).
#pragma once

#include "shell/win32/help.hpp"
#include "shell/win32/template_dialog.hpp"

namespace shell {

class CAboutDlg : public TemplateDialog {
public:
    // F1 opens help's topic of the About box.
    CAboutDlg(HWND owner, const Help& help);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    const Help& help_;
};

// F1 alone, with neither Shift, Ctrl nor Alt held, in the dialog whose template is
// templateNumber: opens that dialog's help topic. Every other help request does nothing.
void OnHelpKey(const Help& help, int templateNumber, const HELPINFO& info);

}  // namespace shell
