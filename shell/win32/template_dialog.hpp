// A modal dialog over a template in the program's resources: the small piece of an application
// frame the Windows program needs (the dialog's messages to member functions, text in UTF-8,
// placement after initialisation).
#pragma once

#include <windows.h>
// windows.h makes macros of names the program's own functions bear.
#undef SetCurrentDirectory
#undef FormatMessage

#include <string>
#include <string_view>

namespace shell {

// UTF-8 text as the wide APIs take it; bytes that are no UTF-8 show as U+FFFD.
std::wstring WideText(std::string_view utf8);

// The text of a window or control, as UTF-8.
std::string WindowText(HWND window);

class TemplateDialog {
public:
    // The dialog of template templateNumber, owned by owner (the main dialog for every dialog
    // but the main dialog itself).
    TemplateDialog(int templateNumber, HWND owner);
    virtual ~TemplateDialog() = default;
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    // Creates the dialog and runs it until it ends; the owner is disabled meanwhile. Returns
    // the result it ended with, -1 when the template could not be made a window.
    INT_PTR DoModal();
    // Ends the dialog with result once the current message is handled.
    void EndDialog(INT_PTR result);

    // The dialog's window while it runs, else null.
    HWND Handle() const { return window_; }
    HWND Item(int id) const { return ::GetDlgItem(window_, id); }
    std::string ItemText(int id) const { return WindowText(Item(id)); }

    // The dialog object of a window this class runs; null for any other window.
    static TemplateDialog* FromHandle(HWND window);

protected:
    // After the controls are made, before the dialog is shown. TRUE gives the focus to the
    // first tab stop.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The OK command (control 1, Enter on the default button) and the Cancel command (control
    // 2, Esc, the close box).
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Any other command from a control; true when it was handled.
    virtual bool OnCommand(int /*id*/, int /*notification*/) { return false; }
    // Any other message; true when it was handled, with its result in result.
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                           INT_PTR& /*result*/) {
        return false;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR InitDialog();
    // A dialog that initialisation left hidden and where its template put it, without a
    // positioning style of its own, is centred over its owner (in the work area when it has
    // none) and kept inside the work area.
    void CenterWindow();

    int templateNumber_;
    HWND owner_;
    HWND window_ = nullptr;
};

}  // namespace shell
