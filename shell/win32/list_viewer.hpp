// The list viewer: shows the version list just written, read back from its file (template 129).
#pragma once

#include <string>

#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "shell/win32/template_dialog.hpp"

namespace shell {

class CListViewDlg : public TemplateDialog {
public:
    // The viewer of the list at listPath; a list it cannot read is reported through presenter.
    CListViewDlg(HWND owner, std::string listPath, platform::MessagePresenter& presenter,
                 platform::FileSystem& fileSystem);

protected:
    // Fills the text field from the file in text mode, caret and view at its end; the focus
    // goes to 閉じる.
    BOOL OnInitDialog() override;

private:
    std::string listPath_;
    platform::MessagePresenter& presenter_;
    platform::FileSystem& fileSystem_;
};

// The viewer's text as a multi-line edit field takes it: every line ending in CR LF.
std::string WithCrLf(std::string_view lines);

}  // namespace shell
