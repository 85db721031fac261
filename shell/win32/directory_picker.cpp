// The directory picker over the system's classic open-file dialog.
#include "shell/win32/directory_picker.hpp"

#include <dlgs.h>

#include "shell/win32/template_dialog.hpp"

namespace shell {
namespace {

constexpr wchar_t kObjectProperty[] = L"PELKOR.CSpecFileDialog";

}  // namespace

CSpecFileDialog::CSpecFileDialog(HWND owner, std::string labelText)
    : labelText_(std::move(labelText)), fileName_(MAX_PATH, L'\0') {
    parameters.lStructSize = sizeof parameters;
    parameters.hwndOwner = owner;
    parameters.hInstance = ::GetModuleHandleW(nullptr);
    parameters.lpstrFile = fileName_.data();
    parameters.nMaxFile = static_cast<DWORD>(fileName_.size());
    parameters.Flags = OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    parameters.lpfnHook = HookProc;
    parameters.lCustData = reinterpret_cast<LPARAM>(this);
}

INT_PTR CSpecFileDialog::DoModal() {
    return ::GetOpenFileNameW(&parameters) ? IDOK : IDCANCEL;
}

CSpecFileDialog* CSpecFileDialog::FromHandle(HWND window) {
    return window == nullptr ? nullptr
                             : static_cast<CSpecFileDialog*>(::GetPropW(window, kObjectProperty));
}

BOOL CSpecFileDialog::OnInitDialog() {
    ::SetDlgItemTextW(window_, stc1, WideText(labelText_).c_str());
    // The place-holders stand where the system's dialog keeps its file list, file-type list
    // and file-name field; whatever it puts there stays out of sight.
    for (int placeHolder : {lst1, cmb1, edt1}) {
        ::ShowWindow(::GetDlgItem(window_, placeHolder), SW_HIDE);
    }
    return TRUE;
}

void CSpecFileDialog::OnOK() {
    SelectedDir = WindowText(::GetDlgItem(window_, stc1));
    ::EndDialog(window_, IDOK);
}

UINT_PTR CALLBACK CSpecFileDialog::HookProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The system calls the hook once its own initialisation is done.
        auto* picker =
            reinterpret_cast<CSpecFileDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
        picker->window_ = window;
        ::SetPropW(window, kObjectProperty, picker);
        return picker->OnInitDialog();
    }
    CSpecFileDialog* picker = FromHandle(window);
    if (picker == nullptr) {
        return FALSE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        // From the Select button or from Enter: the command never reaches the system's dialog.
        picker->OnOK();
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropW(window, kObjectProperty);
        picker->window_ = nullptr;
    }
    return FALSE;
}

}  // namespace shell
