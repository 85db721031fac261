// The list viewer: shows the version list just written, read back from its file (template 129).
#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "platform/message_presenter.hpp"

class QPlainTextEdit;

namespace Ui {
class CListViewDlg;
}

namespace shell {

inline constexpr std::string_view kViewerOpenError = "temp file[%s] Open Error\n";

class CListViewDlg : public QDialog {
    Q_OBJECT

public:
    CListViewDlg(std::string listPath, platform::MessagePresenter& presenter,
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ScrollToEnd();

    std::unique_ptr<Ui::CListViewDlg> ui_;
    std::string listPath_;
    platform::MessagePresenter& presenter_;
};

// The list file's text as the viewer shows it, from the bytes a text-mode read delivered:
// CP932 decoded as a whole, one line per stored line (the CR left before each LF dropped; a
// CR elsewhere shown as a blank so it cannot start a line of its own).
QString ListDisplayText(std::string_view textModeBytes);

}  // namespace shell
