// A modal dialog over a template in the program's resources.
#include "shell/win32/template_dialog.hpp"

#include <algorithm>

#include "platform/utf8.hpp"
#include "platform/win32/wide.hpp"

namespace shell {
namespace {

// The messages whose result a dialog procedure returns itself; every other result goes
// through DWLP_MSGRESULT.
bool ReturnsItsResult(UINT message) {
    switch (message) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

// The window property that leads from a dialog's window to its object.
constexpr wchar_t kObjectProperty[] = L"PELKOR.TemplateDialog";

}  // namespace

std::wstring WideText(std::string_view utf8) {
    std::wstring wide;
    if (!platform::win32::Widen(utf8, wide)) {
        // A NUL would cut the text short there: shown as U+FFFD like any stray byte.
        std::string clean = platform::SanitizeUtf8(utf8);
        std::replace(clean.begin(), clean.end(), '\0', '?');
        platform::win32::Widen(clean, wide);
    }
    return wide;
}

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return platform::win32::Narrow(text);
}

TemplateDialog::TemplateDialog(int templateNumber, HWND owner)
    : templateNumber_(templateNumber), owner_(owner) {}

INT_PTR TemplateDialog::DoModal() {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateNumber_), owner_,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

void TemplateDialog::EndDialog(INT_PTR result) {
    ::EndDialog(window_, result);
}

TemplateDialog* TemplateDialog::FromHandle(HWND window) {
    return window == nullptr ? nullptr
                             : static_cast<TemplateDialog*>(::GetPropW(window, kObjectProperty));
}

INT_PTR CALLBACK TemplateDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<TemplateDialog*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        ::SetPropW(window, kObjectProperty, dialog);
        dialog->window_ = window;
        return dialog->InitDialog();
    }
    auto* dialog = reinterpret_cast<TemplateDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG
    }
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        const int notification = HIWORD(wParam);
        if (id == IDOK && notification == BN_CLICKED) {
            dialog->OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && notification == BN_CLICKED) {
            dialog->OnCancel();
            return TRUE;
        }
        return dialog->OnCommand(id, notification) ? TRUE : FALSE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        ::RemovePropW(window, kObjectProperty);
        dialog->window_ = nullptr;
        return FALSE;
    }
    INT_PTR result = 0;
    if (!dialog->OnMessage(message, wParam, lParam, result)) {
        return FALSE;
    }
    if (ReturnsItsResult(message)) {
        return result;
    }
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR TemplateDialog::InitDialog() {
    RECT before{};
    ::GetWindowRect(window_, &before);
    const BOOL result = OnInitDialog();
    if (window_ == nullptr || !::IsWindow(window_)) {
        return result;
    }
    RECT after{};
    ::GetWindowRect(window_, &after);
    const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
    const bool placed = (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) != 0;
    if (!::IsWindowVisible(window_) && !placed && ::EqualRect(&before, &after)) {
        CenterWindow();
    }
    return result;
}

void TemplateDialog::CenterWindow() {
    RECT window{};
    ::GetWindowRect(window_, &window);
    const HWND owner = ::GetWindow(window_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(
        ::MonitorFromWindow(owner != nullptr ? owner : window_, MONITOR_DEFAULTTOPRIMARY),
        &monitor);
    const RECT area = monitor.rcWork;
    RECT center = area;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &center);
    }
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (center.left + center.right - width) / 2;
    int y = (center.top + center.bottom - height) / 2;
    // Inside the work area; a dialog larger than it keeps its top left corner in view.
    x = std::max(std::min(x, static_cast<int>(area.right) - width), static_cast<int>(area.left));
    y = std::max(std::min(y, static_cast<int>(area.bottom) - height), static_cast<int>(area.top));
    ::SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace shell
