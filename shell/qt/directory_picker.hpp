// The directory picker behind the Browse button: a path label, a directory list and a drive list.
#pragma once

#include <QString>
#include <QStringList>

#include "shell/qt/dialog_template.hpp"

class QKeyEvent;
class QListWidgetItem;

namespace Ui {
class CSpecFileDialog;
}

namespace shell {

// Root directories of the mounted volumes, the file system root first, the rest sorted; only
// volumes whose root is a directory that can be browsed.
QStringList MountedVolumes();

// A modal directory browser. It starts in the process's current directory, with the path label
// showing the text it was given. Each directory or volume the user opens becomes the process's
// current directory and its path goes into the label. Select ends it with the label's text in
// SelectedDir; Cancel, Esc and the close box end it with nothing.
class CSpecFileDialog : public TemplateDialog {
    Q_OBJECT

public:
    // labelText: what the path label shows until the user opens a directory; volumes: the
    // drive list's entries.
    explicit CSpecFileDialog(const QString& labelText, QWidget* parent = nullptr,
                             const QStringList& volumes = MountedVolumes());
    ~CSpecFileDialog() override;

    // Places the picker at its template's position over its owner and runs it;
    // QDialog::Accepted only when it ended with Select.
    int DoModal();

    // The label's text at the moment Select was pressed; empty until then.
    QString SelectedDir;

    // The directory the lists show, as the label shows it after opening one.
    QString BrowsedDir() const { return browsedDir_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnOK();
    void OnDirectoryChosen(QListWidgetItem* item);
    void OnVolumeChosen(int index);

private:
    void SetPathLabel(const QString& text);
    // Fills the lists for the process's current directory (the platform's part of start-up).
    void BrowseCurrentDirectory();
    // Makes path the current directory and shows it; a directory that cannot be entered
    // changes nothing.
    void OpenDirectory(const QString& path);
    void FillDirectoryList();
    void SelectVolumeOfBrowsedDir();

    Ui::CSpecFileDialog* const ui_;
    QString browsedDir_;
};

}  // namespace shell
