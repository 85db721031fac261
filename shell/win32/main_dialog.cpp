// The main dialog: the install directory, Browse, Display and Exit (template 102).
#include "shell/win32/main_dialog.hpp"

#include "resources/win32/resource.h"
#include "shell/win32/about_box.hpp"
#include "shell/win32/directory_picker.hpp"
#include "shell/win32/list_viewer.hpp"

namespace shell {
namespace {

void ExitNow(UINT exitCode) {
    ::ExitProcess(exitCode);
}

}  // namespace

CListMainDlg::CListMainDlg(std::string argumentsText, platform::MessagePresenter* presenter,
                           platform::EditorLauncher* editor, platform::FileSystem* fileSystem,
                           HelpBrowser* helpBrowser, ProcessExit exitProcess)
    : TemplateDialog(IDD_MAIN, nullptr),
      MainIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      argumentsText_(std::move(argumentsText)),
      presenter_(presenter != nullptr ? *presenter : messageBoxes_),
      fileSystem_(fileSystem != nullptr ? *fileSystem : platform::SystemFileSystem()),
      main_(*this, presenter_, editor != nullptr ? *editor : platform::SystemEditorLauncher(),
            fileSystem_),
      help_(InstalledHelpFile(), helpBrowser != nullptr ? *helpBrowser : SystemHelpBrowser(),
            presenter_),
      exitProcess_(exitProcess != nullptr ? exitProcess : ExitNow) {}

BOOL CListMainDlg::OnInitDialog() {
    messageBoxes_.SetOwner(Handle());
    if (const HMENU menu = ::GetSystemMenu(Handle(), FALSE); menu != nullptr) {
        wchar_t* text = nullptr;
        // A length of 0 asks for a pointer into the resource itself, which is not terminated.
        const int length = ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX,
                                         reinterpret_cast<wchar_t*>(&text), 0);
        if (length > 0) {
            const std::wstring item(text, static_cast<std::size_t>(length));
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, item.c_str());
        }
    }
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(MainIcon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(MainIcon));
    if (!main_.OnInitDialog(argumentsText_)) {
        // Batch mode is done: the process ends before the dialog is ever shown.
        exitProcess_(0);
        EndDialog(IDOK);
        return FALSE;
    }
    // The focus goes to the first tab stop, Browse, and with it the default-button role, so
    // Enter opens the picker. Given through the dialog manager, which moves that role along
    // with the focus; the initial focus alone does not under every system (Wine).
    ::SendMessageW(Handle(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(::GetNextDlgTabItem(Handle(), nullptr, FALSE)), TRUE);
    return FALSE;
}

bool CListMainDlg::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_BROWSE:
            OnBrowse();
            return true;
        case IDC_SHOW:
            WriteVersionList();
            return true;
        default:
            return false;
    }
}

bool CListMainDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
                CAboutDlg about(Handle(), help_);
                about.DoModal();
                return true;
            }
            return false;
        case WM_PAINT:
            if (!::IsIconic(Handle())) {
                return false;
            }
            OnPaint();
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(MainIcon);
            return true;
        case WM_HELP:
            OnHelpKey(help_, IDD_MAIN, *reinterpret_cast<const HELPINFO*>(lParam));
            result = TRUE;
            return true;
        default:
            return false;
    }
}

void CListMainDlg::OnPaint() {
    // Minimized, the dialog shows its icon in the middle of what is left of it.
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Handle(), &paint);
    ::SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, MainIcon);
    ::EndPaint(Handle(), &paint);
}

void CListMainDlg::WriteVersionList() {
    main_.WriteVersionList();
}

void CListMainDlg::OnBrowse() {
    main_.OnBrowse();
}

std::string CListMainDlg::InstallDirText() const {
    return ItemText(IDC_INSTALL_DIR);
}

void CListMainDlg::SetInstallDirText(const std::string& text) {
    // The whole text replaced, with no undo back to the old one.
    const HWND field = Item(IDC_INSTALL_DIR);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void CListMainDlg::ShowListViewer(const std::string& listPath) {
    CListViewDlg viewer(Handle(), listPath, presenter_, fileSystem_);
    viewer.DoModal();
}

std::optional<std::string> CListMainDlg::RunDirectoryPicker(const std::string& labelText) {
    CSpecFileDialog picker(Handle(), labelText);
    picker.parameters.Flags = kDirectoryPickerFlags;
    picker.parameters.lpTemplateName = MAKEINTRESOURCEW(IDD_DIRPICK);
    if (picker.DoModal() != IDOK) {
        return std::nullopt;
    }
    return picker.SelectedDir;
}

}  // namespace shell
