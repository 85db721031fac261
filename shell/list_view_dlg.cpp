// The list viewer: shows the version list just written, read back from its file (template 129).
#include "shell/list_view_dlg.hpp"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "platform/files.hpp"
#include "shell/dialog_template.hpp"
#include "ui_list_view_dialog.h"
#include "versionlist/failure.hpp"
#include "versionlist/list_file.hpp"

namespace shell {
namespace {

// The text field's tab stops: every 32 horizontal dialog units, eight mean character widths.
constexpr int kTabStopUnits = 32;

}  // namespace

QString ListDisplayText(std::string_view textModeBytes) {
    const std::string utf8 = versionlist::ListDisplayText(textModeBytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

CListViewDlg::CListViewDlg(std::string listPath, platform::MessagePresenter& presenter,
                           QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CListViewDlg>()),
      listPath_(std::move(listPath)),
      presenter_(presenter) {
    setFont(DialogFont());
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    LayOutTemplate(*this);
    const BaseUnits base = DialogBaseUnits(font());
    ui_->IDC_LIST_TEXT->setTabStopDistance(
        DialogUnitsToPixels(QRect(0, 0, kTabStopUnits, 0), base).width());
    ui_->IDC_LIST_TEXT->installEventFilter(this);
    connect(ui_->IDOK, &QPushButton::clicked, this, &QDialog::accept);
    ui_->IDOK->setFocus();
}

CListViewDlg::~CListViewDlg() = default;

QPlainTextEdit* CListViewDlg::ListText() const {
    return ui_->IDC_LIST_TEXT;
}

bool CListViewDlg::OnInitDialog() {
    std::string bytes;
    if (!platform::ReadTextModeFile(platform::SystemFileSystem(), listPath_, bytes)) {
        presenter_.ShowMessage(versionlist::FormatMessage(kViewerOpenError, listPath_));
        return true;
    }
    ui_->IDC_LIST_TEXT->setPlainText(ListDisplayText(bytes));
    ScrollToEnd();
    ui_->IDOK->setFocus();
    return true;
}

int CListViewDlg::DoModal() {
    OnInitDialog();
    PlaceDialog(*this, parentWidget());
    return exec();
}

void CListViewDlg::ScrollToEnd() {
    QPlainTextEdit* text = ui_->IDC_LIST_TEXT;
    text->moveCursor(QTextCursor::End);
    text->ensureCursorVisible();
}

void CListViewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The field knows its visible lines only now; the caret at the end must be in view.
    ScrollToEnd();
}

bool CListViewDlg::eventFilter(QObject* watched, QEvent* event) {
    // The field takes Enter, which does nothing in a read-only text, so it never closes the
    // viewer; Esc still does.
    if (watched == ui_->IDC_LIST_TEXT && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace shell
