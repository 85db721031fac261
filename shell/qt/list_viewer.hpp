// The list viewer: shows the version list just written, read back from its file (template 129).
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "shell/list_run.hpp"
#include "shell/qt/dialog_template.hpp"

class QPlainTextEdit;

namespace Ui {
class CListViewDlg;
}

namespace shell {

class CListViewDlg : public TemplateDialog {
    Q_OBJECT

public:
    // The list file is read back through fileSystem.
    CListViewDlg(std::string listPath, platform::MessagePresenter& presenter,
                 platform::FileSystem& fileSystem = platform::SystemFileSystem(),
                 QWidget* parent = nullptr);
    ~CListViewDlg() override;

    // Fills the text field from the list file; an open failure is reported and leaves the
    // field empty. Always true: the viewer is shown either way.
    bool OnInitDialog();
    // Initialises, centres the viewer over its owner and runs it modally.
    int DoModal();

    QPlainTextEdit* ListText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ScrollToEnd();
    // Every 32 horizontal dialog units, eight mean character widths, in the dialog's font.
    void SetTabStops();

    Ui::CListViewDlg* const ui_;
    std::string listPath_;
    platform::MessagePresenter& presenter_;
    platform::FileSystem& fileSystem_;
};

}  // namespace shell
