// The main dialog: the install directory, Browse, Display and Exit (template 102).
#include "shell/qt/main_dialog.hpp"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "resources/resource.hpp"
#include "shell/qt/about_box.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/directory_picker.hpp"
#include "shell/qt/help.hpp"
#include "shell/qt/list_viewer.hpp"
#include "shell/qt/program_icon.hpp"
#include "ui_main_dialog.h"

namespace shell {

CListMainDlg::CListMainDlg(std::string argumentsText, platform::MessagePresenter* presenter,
                           platform::EditorLauncher* editor, platform::FileSystem* fileSystem,
                           HelpBrowser* helpBrowser, QWidget* parent)
    : TemplateDialog(std::make_unique<Ui::CListMainDlg>(), parent),
      ui_(&FormOf<Ui::CListMainDlg>()),
      argumentsText_(std::move(argumentsText)),
      messageBoxes_(this),
      presenter_(presenter != nullptr ? *presenter : messageBoxes_),
      fileSystem_(fileSystem != nullptr ? *fileSystem : platform::SystemFileSystem()),
      main_(*this, presenter_, editor != nullptr ? *editor : platform::SystemEditorLauncher(),
            fileSystem_),
      help_(InstalledHelpFile(), helpBrowser != nullptr ? *helpBrowser : DesktopHelpBrowser(),
            presenter_),
      aboutItemText_(TextFromBytes(resources::LoadString(resources::IDS_ABOUTBOX))) {
    connect(ui_->IDOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->IDC_BROWSE, &QPushButton::clicked, this, &CListMainDlg::OnBrowse);
    connect(ui_->IDC_SHOW, &QPushButton::clicked, this, &CListMainDlg::WriteVersionList);
    for (QWidget* control : findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
    help_.InstallKey(*this, resources::IDD_MAIN);
}

CListMainDlg::~CListMainDlg() = default;

QLineEdit* CListMainDlg::InstallDirField() const {
    return ui_->IDC_INSTALL_DIR;
}
QPushButton* CListMainDlg::BrowseButton() const {
    return ui_->IDC_BROWSE;
}
QPushButton* CListMainDlg::ShowButton() const {
    return ui_->IDC_SHOW;
}
QPushButton* CListMainDlg::ExitButton() const {
    return ui_->IDOK;
}

bool CListMainDlg::OnInitDialog() {
    setWindowIcon(ProgramIcon());
    if (!main_.OnInitDialog(argumentsText_)) {
        return false;
    }
    // Browse holds the focus, and with it the default-button role, until Tab moves on.
    ui_->IDC_BROWSE->setFocus();
    return true;
}

int CListMainDlg::DoModal() {
    if (!OnInitDialog()) {
        return QDialog::Accepted;
    }
    return RunModal();
}

void CListMainDlg::WriteVersionList() {
    main_.WriteVersionList();
}

void CListMainDlg::OnBrowse() {
    main_.OnBrowse();
}

std::string CListMainDlg::InstallDirText() const {
    return BytesFromText(ui_->IDC_INSTALL_DIR->text());
}

void CListMainDlg::SetInstallDirText(const std::string& text) {
    // The whole text is replaced, with no undo back to the old one.
    ui_->IDC_INSTALL_DIR->setText(TextFromBytes(text));
    ui_->IDC_INSTALL_DIR->setCursorPosition(ui_->IDC_INSTALL_DIR->text().size());
}

void CListMainDlg::ShowListViewer(const std::string& listPath) {
    CListViewDlg viewer(listPath, presenter_, fileSystem_, this);
    viewer.DoModal();
}

std::optional<std::string> CListMainDlg::RunDirectoryPicker(const std::string& labelText) {
    CSpecFileDialog picker(TextFromBytes(labelText), this);
    if (picker.DoModal() != QDialog::Accepted) {
        return std::nullopt;
    }
    return BytesFromText(picker.SelectedDir);
}

void CListMainDlg::OnAbout() {
    CAboutDlg about(this);
    help_.InstallKey(about, resources::IDD_ABOUTBOX);
    about.DoModal();
}

void CListMainDlg::OnSysCommand(int command) {
    if ((command & 0xFFF0) == resources::IDM_ABOUTBOX) {
        OnAbout();
    }
}

void CListMainDlg::ShowSystemMenu(const QPoint& globalPos) {
    if (aboutItemText_.isEmpty()) {
        return;
    }
    QMenu menu(this);
    QAction* about = menu.addAction(aboutItemText_);
    about->setData(resources::IDM_ABOUTBOX);
    if (QAction* chosen = menu.exec(globalPos); chosen != nullptr) {
        OnSysCommand(chosen->data().toInt());
    }
}

void CListMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The right button anywhere on the dialog, or the Menu key.
    ShowSystemMenu(event->globalPos());
}

bool CListMainDlg::OnKeyPress(QKeyEvent* event) {
    // Alt+Space opens the menu where a system menu would drop down, below the caption.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        return true;
    }
    return false;
}

void CListMainDlg::keyPressEvent(QKeyEvent* event) {
    if (!OnKeyPress(event)) {
        TemplateDialog::keyPressEvent(event);
    }
}

bool CListMainDlg::eventFilter(QObject* watched, QEvent* event) {
    // Keys reach the focused control first; the dialog's own keys are taken before it.
    if (event->type() == QEvent::KeyPress && OnKeyPress(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return TemplateDialog::eventFilter(watched, event);
}

}  // namespace shell
