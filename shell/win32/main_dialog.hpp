// The main dialog: the install directory, Browse, Display and Exit (template 102).
#pragma once

#include <optional>
#include <string>

#include "platform/editor.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "shell/list_main.hpp"
#include "shell/win32/help.hpp"
#include "shell/win32/message_box_presenter.hpp"
#include "shell/win32/template_dialog.hpp"

namespace shell {

// Ends the process with an exit code; tests put a recorder in its place.
using ProcessExit = void (*)(UINT exitCode);

class CListMainDlg : public TemplateDialog, private ListMainView {
public:
    // argumentsText is the command line less the program name (ArgumentsFromCommandLine).
    // presenter, editor, fileSystem, helpBrowser and exitProcess replace the message boxes,
    // Notepad, the real file system, the system's browser and ExitProcess when given.
    explicit CListMainDlg(std::string argumentsText,
                          platform::MessagePresenter* presenter = nullptr,
                          platform::EditorLauncher* editor = nullptr,
                          platform::FileSystem* fileSystem = nullptr,
                          HelpBrowser* helpBrowser = nullptr, ProcessExit exitProcess = nullptr);

    bool BatchMode() const { return main_.BatchMode; }

    // Display: writes the list for the field's directory, then shows it (in batch mode opens
    // it in Notepad). The run itself shows every message on the way.
    void WriteVersionList();
    // Browse: the directory picker, started where the field points; Select rewrites the field.
    void OnBrowse();

    // IDR_MAINFRAME, loaded once and never freed.
    HICON MainIcon;

protected:
    // The About item in the system menu, the icons, the proposed install directory, then the
    // batch switch: in batch mode the list is written and the process ends here, the dialog
    // never shown.
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notification) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // ListMainView
    std::string InstallDirText() const override;
    void SetInstallDirText(const std::string& text) override;
    void ShowListViewer(const std::string& listPath) override;
    std::optional<std::string> RunDirectoryPicker(const std::string& labelText) override;

    void OnPaint();

    std::string argumentsText_;
    MessageBoxPresenter messageBoxes_;
    platform::MessagePresenter& presenter_;
    platform::FileSystem& fileSystem_;
    ListMain main_;
    Help help_;
    ProcessExit exitProcess_;
};

}  // namespace shell
