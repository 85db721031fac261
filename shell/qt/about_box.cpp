// The About box: program name, version and legal notice (template 100).
#include "shell/qt/about_box.hpp"

#include <QPushButton>

#include "shell/qt/dialog_template.hpp"
#include "shell/qt/program_icon.hpp"
#include "ui_about_box.h"

namespace shell {

CAboutDlg::CAboutDlg(QWidget* parent)
    : TemplateDialog(std::make_unique<Ui::CAboutDlg>(), parent), ui_(&FormOf<Ui::CAboutDlg>()) {
    ui_->IDR_MAINFRAME->setPixmap(ProgramIcon().pixmap(32, 32));
    ui_->IDR_MAINFRAME->resize(32, 32);
    connect(ui_->IDOK, &QPushButton::clicked, this, &QDialog::accept);
    ui_->IDOK->setFocus();
}

CAboutDlg::~CAboutDlg() = default;

int CAboutDlg::DoModal() {
    return RunModal();
}

}  // namespace shell
