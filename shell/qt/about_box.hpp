// The About box: program name, version and legal notice (template 100).
#pragma once

#include "shell/qt/dialog_template.hpp"

namespace Ui {
class CAboutDlg;
}

namespace shell {

class CAboutDlg : public TemplateDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // Centres the box over its owner and runs it modally.
    int DoModal();

private:
    Ui::CAboutDlg* const ui_;
};

}  // namespace shell
