// The main dialog: the install directory, Browse, Display and Exit (template 102).
#include "shell/list_main_dlg.hpp"

#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "resources/resource.hpp"
#include "shell/about_dlg.hpp"
#include "shell/batch_switch.hpp"
#include "shell/dialog_template.hpp"
#include "shell/directory_picker.hpp"
#include "shell/help.hpp"
#include "shell/list_view_dlg.hpp"
#include "ui_main_dialog.h"
#include "versionlist/version_list.hpp"

namespace shell {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CListMainDlg::CListMainDlg(std::string argumentsText, platform::MessagePresenter* presenter,
                           platform::EditorLauncher* editor, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CListMainDlg>()),
      argumentsText_(std::move(argumentsText)),
      messageBoxes_(this),
      presenter_(presenter != nullptr ? *presenter : messageBoxes_),
      editor_(editor != nullptr ? *editor : platform::SystemEditorLauncher()),
      aboutItemText_(FromUtf8(resources::LoadString(resources::IDS_ABOUTBOX))) {
    setFont(DialogFont());
    ui_->setupUi(this);
    // A modal frame with a close box: no minimize or maximize box, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    LayOutTemplate(*this);

    connect(ui_->IDOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->IDC_BROWSE, &QPushButton::clicked, this, &CListMainDlg::OnBrowse);
    connect(ui_->IDC_SHOW, &QPushButton::clicked, this, &CListMainDlg::WriteVersionList);
    for (QWidget* control : findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
    InstallHelpKey(*this, resources::IDD_MAIN, presenter_);
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
    InstallDir = versionlist::FindInstallDir();
    ui_->IDC_INSTALL_DIR->setText(FromUtf8(InstallDir));
    ui_->IDC_INSTALL_DIR->setCursorPosition(ui_->IDC_INSTALL_DIR->text().size());
    if (IsBatchSwitch(argumentsText_)) {
        BatchMode = true;
        WriteVersionList();
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
    PlaceDialog(*this, nullptr);
    return exec();
}

void CListMainDlg::WriteVersionList() {
    const QByteArray field = ui_->IDC_INSTALL_DIR->text().toUtf8();
    versionlist::MessageSink messages(presenter_);
    const versionlist::RunResult result =
        versionlist::WriteVersionList(std::string_view(field.constData(), field.size()), messages);
    ListPath = result.listPath;
    if (result.outcome != versionlist::RunOutcome::kFound) {
        return;  // the run has said why
    }
    if (BatchMode) {
        editor_.StartEditor(ListPath);  // not waited for; its result does not matter
        return;
    }
    CListViewDlg viewer(ListPath, presenter_, this);
    viewer.DoModal();
}

void CListMainDlg::OnBrowse() {
    // The field's text as a directory, with one "/" at its end, is where the picker starts
    // and what its path label shows first; a directory that cannot be entered leaves the
    // process where it is.
    QString dir = ui_->IDC_INSTALL_DIR->text();
    if (!dir.endsWith(QLatin1Char('/'))) {
        dir.append(QLatin1Char('/'));
    }
    InstallDir = dir.toStdString();
    QDir::setCurrent(dir);
    CSpecFileDialog picker(dir, this);
    if (picker.DoModal() != QDialog::Accepted) {
        return;
    }
    InstallDir = picker.SelectedDir.toStdString();
    // The whole text is replaced, with no undo back to the old one.
    ui_->IDC_INSTALL_DIR->setText(picker.SelectedDir);
    ui_->IDC_INSTALL_DIR->setCursorPosition(ui_->IDC_INSTALL_DIR->text().size());
}

void CListMainDlg::OnAbout() {
    CAboutDlg about(this);
    InstallHelpKey(about, resources::IDD_ABOUTBOX, presenter_);
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
        QDialog::keyPressEvent(event);
    }
}

bool CListMainDlg::eventFilter(QObject* watched, QEvent* event) {
    // Keys reach the focused control first; the dialog's own keys are taken before it.
    if (event->type() == QEvent::KeyPress && OnKeyPress(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace shell
