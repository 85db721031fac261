// The list viewer: shows the version list just written, read back from its file (template 129).
#include "shell/win32/list_viewer.hpp"

#include "resources/win32/resource.h"
#include "shell/list_run.hpp"

namespace shell {

std::string WithCrLf(std::string_view lines) {
    std::string text;
    text.reserve(lines.size() + lines.size() / 16);
    for (char c : lines) {
        if (c == '\n') {
            text.push_back('\r');
        }
        text.push_back(c);
    }
    return text;
}

CListViewDlg::CListViewDlg(HWND owner, std::string listPath, platform::MessagePresenter& presenter,
                           platform::FileSystem& fileSystem)
    : TemplateDialog(IDD_LISTVIEW, owner),
      listPath_(std::move(listPath)),
      presenter_(presenter),
      fileSystem_(fileSystem) {}

BOOL CListViewDlg::OnInitDialog() {
    std::string bytes;
    if (!platform::ReadTextModeFile(fileSystem_, listPath_, bytes)) {
        presenter_.ShowMessage(FormatMessage(kViewerOpenError, listPath_));
        return TRUE;
    }
    const HWND field = Item(IDC_LIST_TEXT);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
    // The whole list, however long: the field's default limit would cut it off unseen.
    ::SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
    const std::wstring text = WideText(WithCrLf(ListDisplayText(bytes)));
    ::SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
    return TRUE;
}

}  // namespace shell
