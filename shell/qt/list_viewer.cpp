// The list viewer: shows the version list just written, read back from its file (template 129).
#include "shell/qt/list_viewer.hpp"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "shell/list_run.hpp"
#include "shell/qt/dialog_template.hpp"
#include "ui_list_viewer.h"

namespace shell {
namespace {

// The text field's tab stops: every 32 horizontal dialog units, eight mean character widths.
constexpr int kTabStopUnits = 32;

}  // namespace

CListViewDlg::CListViewDlg(std::string listPath, platform::MessagePresenter& presenter,
                           platform::FileSystem& fileSystem, QWidget* parent)
    : TemplateDialog(std::make_unique<Ui::CListViewDlg>(), parent),
      ui_(&FormOf<Ui::CListViewDlg>()),
      listPath_(std::move(listPath)),
      presenter_(presenter),
      fileSystem_(fileSystem) {
    SetTabStops();
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
    if (!platform::ReadTextModeFile(fileSystem_, listPath_, bytes)) {
        presenter_.ShowMessage(FormatMessage(kViewerOpenError, listPath_));
        return true;
    }
    const std::string shown = ListDisplayText(bytes);
    ui_->IDC_LIST_TEXT->setPlainText(
        QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size())));
    ScrollToEnd();
    ui_->IDOK->setFocus();
    return true;
}

int CListViewDlg::DoModal() {
    OnInitDialog();
    return RunModal();
}

void CListViewDlg::SetTabStops() {
    ui_->IDC_LIST_TEXT->setTabStopDistance(
        DialogUnitsToPixels(QRect(0, 0, kTabStopUnits, 0), DialogBaseUnits(font())).width());
}

void CListViewDlg::changeEvent(QEvent* event) {
    TemplateDialog::changeEvent(event);
    // Scaled down to fit the screen: the tab stops shrink with the dialog units.
    if (event->type() == QEvent::FontChange) {
        SetTabStops();
    }
}

void CListViewDlg::ScrollToEnd() {
    QPlainTextEdit* text = ui_->IDC_LIST_TEXT;
    text->moveCursor(QTextCursor::End);
    text->ensureCursorVisible();
}

void CListViewDlg::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
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
    return TemplateDialog::eventFilter(watched, event);
}

}  // namespace shell
