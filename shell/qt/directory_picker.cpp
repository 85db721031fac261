// The directory picker: lists, navigation through the process's current directory, Select.
#include "shell/qt/directory_picker.hpp"

#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <algorithm>
#include <string>

#include "platform/dir_search.hpp"
#include "platform/paths.hpp"
#include "shell/directories.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/dialog_template.hpp"
#include "ui_directory_picker.h"

namespace shell {
namespace {

const QString kRoot = QStringLiteral("/");
const QString kParent = QStringLiteral("..");

bool IsEnterKey(const QKeyEvent* key) {
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return enter && modifiers == Qt::NoModifier;
}

// True when path lies on the volume mounted at root.
bool IsOnVolume(const QString& path, const QString& root) {
    if (root == kRoot) {
        return path.startsWith(kRoot);
    }
    return path == root || path.startsWith(root + kRoot);
}

}  // namespace

QStringList MountedVolumes() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir() &&
            !roots.contains(root)) {
            roots.append(root);
        }
    }
    if (!roots.contains(kRoot)) {
        roots.append(kRoot);
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        if (a == kRoot || b == kRoot) {
            return a == kRoot && b != kRoot;
        }
        return platform::SearchOrderLess(BytesFromText(a), BytesFromText(b));
    });
    return roots;
}

CSpecFileDialog::CSpecFileDialog(const QString& labelText, QWidget* parent,
                                 const QStringList& volumes)
    : TemplateDialog(std::make_unique<Ui::CSpecFileDialog>(), parent),
      ui_(&FormOf<Ui::CSpecFileDialog>()) {
    for (const QString& root : volumes) {
        ui_->driveList->addItem(root, root);
    }
    ui_->directoryList->installEventFilter(this);
    connect(ui_->selectButton, &QPushButton::clicked, this, &CSpecFileDialog::OnOK);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->directoryList, &QListWidget::itemDoubleClicked, this,
            &CSpecFileDialog::OnDirectoryChosen);
    connect(ui_->driveList, &QComboBox::activated, this, &CSpecFileDialog::OnVolumeChosen);

    BrowseCurrentDirectory();
    // The text given replaces the path of the current directory until the user opens one,
    // even when it names no directory at all.
    SetPathLabel(labelText);
    ui_->directoryList->setFocus();
}

CSpecFileDialog::~CSpecFileDialog() = default;

int CSpecFileDialog::DoModal() {
    return RunModal();
}

void CSpecFileDialog::OnOK() {
    SelectedDir = ui_->pathLabel->text();
    accept();
}

void CSpecFileDialog::keyPressEvent(QKeyEvent* event) {
    // Enter is the OK command unless a push button has the focus, which it then presses.
    if (IsEnterKey(event)) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            OnOK();
        }
        return;
    }
    TemplateDialog::keyPressEvent(event);
}

bool CSpecFileDialog::eventFilter(QObject* watched, QEvent* event) {
    // In the directory list Enter stays the OK command, as everywhere but on a push button;
    // Space opens the highlighted directory, as a double click does.
    if (watched == ui_->directoryList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key)) {
            OnOK();
            return true;
        }
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            OnDirectoryChosen(ui_->directoryList->currentItem());
            return true;
        }
    }
    return TemplateDialog::eventFilter(watched, event);
}

void CSpecFileDialog::OnDirectoryChosen(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    std::string path = BytesFromText(browsedDir_);
    if (path.empty() || !platform::IsPathSeparator(path.back())) {
        path.push_back(platform::kPathSeparator);
    }
    OpenDirectory(TextFromBytes(path + BytesFromText(item->text())));
}

void CSpecFileDialog::OnVolumeChosen(int index) {
    if (index >= 0) {
        OpenDirectory(ui_->driveList->itemData(index).toString());
    }
}

void CSpecFileDialog::SetPathLabel(const QString& text) {
    // The label may show only the path's end; its whole text is one hover away.
    ui_->pathLabel->setText(text);
    ui_->pathLabel->setToolTip(text);
}

void CSpecFileDialog::BrowseCurrentDirectory() {
    // The directory's bytes, whatever they are: Qt's own reading would lose those that are
    // no UTF-8.
    browsedDir_ = TextFromBytes(platform::CurrentDirectory());
    SetPathLabel(browsedDir_);
    FillDirectoryList();
    SelectVolumeOfBrowsedDir();
}

void CSpecFileDialog::OpenDirectory(const QString& path) {
    if (!platform::SetCurrentDirectory(BytesFromText(path))) {
        return;
    }
    BrowseCurrentDirectory();
}

void CSpecFileDialog::FillDirectoryList() {
    ui_->directoryList->clear();
    if (browsedDir_.isEmpty()) {
        return;
    }
    if (browsedDir_ != kRoot) {
        ui_->directoryList->addItem(kParent);
    }
    // A directory that cannot be read lists no subdirectories; that is all the user learns.
    for (const std::string& name : Subdirectories(BytesFromText(browsedDir_))) {
        ui_->directoryList->addItem(TextFromBytes(name));
    }
    ui_->directoryList->setCurrentRow(0);
}

void CSpecFileDialog::SelectVolumeOfBrowsedDir() {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < ui_->driveList->count(); ++i) {
        const QString root = ui_->driveList->itemData(i).toString();
        if (IsOnVolume(browsedDir_, root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    ui_->driveList->setCurrentIndex(best);
}

}  // namespace shell
