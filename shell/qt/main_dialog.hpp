// The main dialog: the install directory, Browse, Display and Exit (template 102).
#pragma once

#include <QPoint>
#include <QString>
#include <optional>
#include <string>

#include "platform/editor.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "shell/list_main.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/help.hpp"
#include "shell/qt/message_box_presenter.hpp"

class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace Ui {
class CListMainDlg;
}

namespace shell {

class CListMainDlg : public TemplateDialog, private ListMainView {
    Q_OBJECT

public:
    // argumentsText is the command line less the program name (see ArgumentsText). presenter,
    // editor, fileSystem and helpBrowser replace the message boxes, the system editor, the
    // real file system and the desktop's browser when given.
    explicit CListMainDlg(std::string argumentsText,
                          platform::MessagePresenter* presenter = nullptr,
                          platform::EditorLauncher* editor = nullptr,
                          platform::FileSystem* fileSystem = nullptr,
                          HelpBrowser* helpBrowser = nullptr, QWidget* parent = nullptr);
    ~CListMainDlg() override;

    // Proposes the install directory in the field, then tests the batch switch. False when the
    // batch run has been done and the program is to end without showing the dialog.
    bool OnInitDialog();
    // Initialises, centres the dialog in the work area and runs it modally; in batch mode it
    // returns at once with QDialog::Accepted.
    int DoModal();

    // The About item of the context menu; string 101 unless replaced. Empty: no item.
    void SetAboutItemText(const QString& text) { aboutItemText_ = text; }
    // Opens the context menu (the stand-in for the system menu) at a global position.
    void ShowSystemMenu(const QPoint& globalPos);
    // A command of the system menu: IDM_ABOUTBOX to IDM_ABOUTBOX + 15 open the About box.
    void OnSysCommand(int command);

    bool BatchMode() const { return main_.BatchMode; }

    QLineEdit* InstallDirField() const;
    QPushButton* BrowseButton() const;
    QPushButton* ShowButton() const;
    QPushButton* ExitButton() const;

public slots:
    // Display: writes the list for the field's directory, then shows it (or, in batch mode,
    // opens it in the editor). The run itself shows every message on the way.
    void WriteVersionList();
    // Browse: the directory picker, started where the field points; Select rewrites the field.
    void OnBrowse();
    void OnAbout();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ListMainView
    std::string InstallDirText() const override;
    void SetInstallDirText(const std::string& text) override;
    void ShowListViewer(const std::string& listPath) override;
    std::optional<std::string> RunDirectoryPicker(const std::string& labelText) override;

    // Every key the dialog handles itself, whichever control has the focus, is decided here.
    // True when the key was used.
    bool OnKeyPress(QKeyEvent* event);

    Ui::CListMainDlg* const ui_;
    std::string argumentsText_;
    MessageBoxPresenter messageBoxes_;
    platform::MessagePresenter& presenter_;
    platform::FileSystem& fileSystem_;
    ListMain main_;
    Help help_;
    QString aboutItemText_;
};

}  // namespace shell
