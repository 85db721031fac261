// The directory picker: the system's classic open-file dialog over template 1536 with a hook,
// whose result is the text of its path label.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <string>

namespace shell {

class CSpecFileDialog {
public:
    // The picker owned by owner, its path label showing labelText once the system's dialog
    // has set it up. The parameter block is the open-file dialog's with the hook and the
    // program's own module in place; its Flags and template are the caller's to set.
    CSpecFileDialog(HWND owner, std::string labelText);
    CSpecFileDialog(const CSpecFileDialog&) = delete;
    CSpecFileDialog& operator=(const CSpecFileDialog&) = delete;

    // Runs the system's dialog: IDOK when it ended with the OK command, IDCANCEL when it
    // reports no selection (Cancel, or the dialog could not be shown).
    INT_PTR DoModal();

    // The picker's window while it runs, else null.
    HWND Handle() const { return window_; }
    // The picker object of a window this class runs; null for any other window.
    static CSpecFileDialog* FromHandle(HWND window);

    OPENFILENAMEW parameters{};
    // The label's text when the picker ended with OK.
    std::string SelectedDir;

protected:
    // After the system's own initialisation: the label shows the text given.
    BOOL OnInitDialog();
    // Takes the label's text and ends the picker, never passing the command on to the
    // system's file-name handling.
    void OnOK();

private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string labelText_;
    std::wstring fileName_;
    HWND window_ = nullptr;
};

// The flags the picker runs with: OFN_LONGNAMES, OFN_ENABLETEMPLATE, OFN_ENABLEHOOK and
// OFN_HIDEREADONLY, and nothing else (no OFN_EXPLORER: the classic dialog).
inline constexpr DWORD kDirectoryPickerFlags = 0x00200064;

}  // namespace shell
