// The About box: program name, version and legal notice (template 100).
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class CAboutDlg;
}

namespace shell {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // Centres the box over its owner and runs it modally.
    int DoModal();

private:
    std::unique_ptr<Ui::CAboutDlg> ui_;
};

}  // namespace shell
