// The directory picker driven as a person would: lists, opening entries, Select, Cancel, Enter.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "platform/paths.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/directory_picker.hpp"

using shell::CSpecFileDialog;
using shell::MountedVolumes;

namespace {

QListWidget* DirectoryList(CSpecFileDialog& dialog) {
    return dialog.findChild<QListWidget*>(QStringLiteral("directoryList"));
}
QComboBox* DriveList(CSpecFileDialog& dialog) {
    return dialog.findChild<QComboBox*>(QStringLiteral("driveList"));
}
QString LabelText(CSpecFileDialog& dialog) {
    return dialog.findChild<QLabel*>(QStringLiteral("pathLabel"))->text();
}
QPushButton* Button(CSpecFileDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList Entries(CSpecFileDialog& dialog) {
    QStringList names;
    QListWidget* list = DirectoryList(dialog);
    for (int i = 0; i < list->count(); ++i) {
        names.append(list->item(i)->text());
    }
    return names;
}

QListWidgetItem* Entry(CSpecFileDialog& dialog, const QString& name) {
    const auto found = DirectoryList(dialog)->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

// Double-clicks the entry called name, as the user opens a directory with the mouse.
void DoubleClickEntry(CSpecFileDialog& dialog, const QString& name) {
    QListWidget* list = DirectoryList(dialog);
    QListWidgetItem* item = Entry(dialog, name);
    QVERIFY2(item != nullptr, qPrintable(name));
    list->scrollToItem(item);
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

// Highlights the entry called name and presses Space in the list, which opens it.
void SpaceOnEntry(CSpecFileDialog& dialog, const QString& name) {
    QListWidget* list = DirectoryList(dialog);
    QListWidgetItem* item = Entry(dialog, name);
    QVERIFY2(item != nullptr, qPrintable(name));
    list->setCurrentItem(item);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY2(dialog.isVisible(), "Space in the directory list ended the picker");
}

// Runs the picker modally; actions run once it is up and must end it.
int RunPicker(CSpecFileDialog& dialog, const std::function<void()>& actions) {
    QTimer::singleShot(0, &dialog, [&] {
        actions();
        if (dialog.isVisible()) {
            dialog.done(-1);  // the actions left it open: report that instead of hanging
        }
    });
    return dialog.DoModal();
}

}  // namespace

class DirectoryPickerTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectAtOnceReturnsTheLabelText_data();
    void selectAtOnceReturnsTheLabelText();
    void listShowsParentAndSortedSubdirectoriesOnly();
    void openingSubdirectoryAndParentMovesLabelAndCurrentDirectory();
    void cancelReturnsNothingButKeepsCurrentDirectory_data();
    void cancelReturnsNothingButKeepsCurrentDirectory();
    void openingVolumesOpensTheirRoots();
    void driveListShowsTheVolumeBeingBrowsed();
    void enterEndsWithLabelNotHighlightedEntry_data();
    void enterEndsWithLabelNotHighlightedEntry();
    void longPathShowsItsEndAndStaysWhole();
    void directoryListShowsWholeRowsOnly();
    void namesThatAreNoUtf8KeepTheirBytes();
    void directoryThatCannotBeEnteredChangesNothing();
    void unreadableDirectoryShowsNoSubdirectories();
    void mountedVolumesStartWithRoot();

private:
    QString root_;  // canonical path of the scratch tree
    QTemporaryDir scratch_;
    QString savedCurrent_;
};

void DirectoryPickerTest::init() {
    QVERIFY(scratch_.isValid());
    root_ = QDir(scratch_.path()).canonicalPath() + QStringLiteral("/tree");
    QDir().mkpath(root_ + QStringLiteral("/beta/inner"));
    QDir().mkpath(root_ + QStringLiteral("/Alpha"));
    QDir().mkpath(root_ + QStringLiteral("/.hidden"));
    QDir().mkpath(root_ + QStringLiteral("/gamma"));
    QFile file(root_ + QStringLiteral("/aardvark.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    savedCurrent_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root_));
}

void DirectoryPickerTest::cleanup() {
    QDir::setCurrent(savedCurrent_);
    QDir(root_).removeRecursively();
}

void DirectoryPickerTest::selectAtOnceReturnsTheLabelText_data() {
    QTest::addColumn<QString>("labelText");
    QTest::newRow("existing directory") << QStringLiteral("/usr/");
    QTest::newRow("missing directory") << QStringLiteral("/no/such/komar/");
    QTest::newRow("relative text") << QStringLiteral("komar/");
    QTest::newRow("lone separator") << QStringLiteral("/");
    QTest::newRow("long text") << QStringLiteral("/x").repeated(200) + QStringLiteral("/");
}

void DirectoryPickerTest::selectAtOnceReturnsTheLabelText() {
    QFETCH(QString, labelText);
    CSpecFileDialog dialog(labelText, nullptr, {QStringLiteral("/")});
    QCOMPARE(LabelText(dialog), labelText);
    // The lists show the current directory whatever the label says.
    QCOMPARE(dialog.BrowsedDir(), root_);
    QVERIFY(Entries(dialog).contains(QStringLiteral("beta")));

    const int result = RunPicker(dialog, [&] { Button(dialog, "selectButton")->click(); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDir, labelText);
    QCOMPARE(QDir::currentPath(), root_);
}

void DirectoryPickerTest::listShowsParentAndSortedSubdirectoriesOnly() {
    CSpecFileDialog dialog(QStringLiteral("x"), nullptr, {QStringLiteral("/")});
    // ".." first, then the directories in the directory search's order; files never.
    QCOMPARE(Entries(dialog), (QStringList{"..", ".hidden", "Alpha", "beta", "gamma"}));
}

void DirectoryPickerTest::openingSubdirectoryAndParentMovesLabelAndCurrentDirectory() {
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
    QStringList seen;
    const int result = RunPicker(dialog, [&] {
        DoubleClickEntry(dialog, QStringLiteral("beta"));
        seen << LabelText(dialog) << QDir::currentPath() << Entries(dialog).join('|');
        SpaceOnEntry(dialog, QStringLiteral("inner"));
        seen << LabelText(dialog) << QDir::currentPath() << Entries(dialog).join('|');
        DoubleClickEntry(dialog, QStringLiteral(".."));
        SpaceOnEntry(dialog, QStringLiteral(".."));
        seen << LabelText(dialog) << QDir::currentPath();
        Button(dialog, "selectButton")->click();
    });
    const QString beta = root_ + QStringLiteral("/beta");
    const QString inner = beta + QStringLiteral("/inner");
    QCOMPARE(seen, (QStringList{beta, beta, "..|inner", inner, inner, "..", root_, root_}));
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDir, root_);
}

void DirectoryPickerTest::cancelReturnsNothingButKeepsCurrentDirectory_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Cancel button") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("close box") << 2;
}

void DirectoryPickerTest::cancelReturnsNothingButKeepsCurrentDirectory() {
    QFETCH(int, how);
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
    const int result = RunPicker(dialog, [&] {
        DoubleClickEntry(dialog, QStringLiteral("gamma"));
        switch (how) {
            case 0:
                Button(dialog, "cancelButton")->click();
                break;
            case 1:
                QTest::keyClick(DirectoryList(dialog), Qt::Key_Escape);
                break;
            default:
                dialog.close();
                break;
        }
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(dialog.SelectedDir.isEmpty());
    QCOMPARE(QDir::currentPath(), root_ + QStringLiteral("/gamma"));
}

void DirectoryPickerTest::openingVolumesOpensTheirRoots() {
    const QString volume = root_ + QStringLiteral("/beta");
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/"), volume});
    QComboBox* drives = DriveList(dialog);
    QCOMPARE(drives->count(), 2);
    QStringList seen;
    const int result = RunPicker(dialog, [&] {
        drives->setFocus();
        // The keyboard walks the drive list; each volume chosen is opened at once.
        QTest::keyClick(drives, Qt::Key_Down);
        seen << LabelText(dialog) << QDir::currentPath() << Entries(dialog).join('|');
        QTest::keyClick(drives, Qt::Key_Up);
        seen << LabelText(dialog) << QDir::currentPath();
        Button(dialog, "selectButton")->click();
    });
    QCOMPARE(seen, (QStringList{volume, volume, "..|inner", "/", "/"}));
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDir, QStringLiteral("/"));
    // The root has no parent entry.
    QVERIFY(!Entries(dialog).contains(QStringLiteral("..")));
    QVERIFY(Entries(dialog).contains(QStringLiteral("usr")));
}

void DirectoryPickerTest::driveListShowsTheVolumeBeingBrowsed() {
    const QString volume = root_ + QStringLiteral("/beta");
    const QString lookalike = root_ + QStringLiteral("/bet");
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr,
                           {QStringLiteral("/"), lookalike, volume});
    QComboBox* drives = DriveList(dialog);
    QCOMPARE(drives->currentText(), QStringLiteral("/"));
    const int result = RunPicker(dialog, [&] {
        DoubleClickEntry(dialog, QStringLiteral("beta"));
        DoubleClickEntry(dialog, QStringLiteral("inner"));
        QCOMPARE(drives->currentText(), volume);
        Button(dialog, "cancelButton")->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
}

void DirectoryPickerTest::enterEndsWithLabelNotHighlightedEntry_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("selected");
    // Enter is the OK command wherever no push button has the focus.
    QTest::newRow("directory list") << "directoryList" << int(QDialog::Accepted) << "field/";
    QTest::newRow("drive list") << "driveList" << int(QDialog::Accepted) << "field/";
    QTest::newRow("Select button") << "selectButton" << int(QDialog::Accepted) << "field/";
    QTest::newRow("Cancel button") << "cancelButton" << int(QDialog::Rejected) << "";
}

void DirectoryPickerTest::enterEndsWithLabelNotHighlightedEntry() {
    QFETCH(QString, focus);
    QFETCH(int, expected);
    QFETCH(QString, selected);
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
    const int result = RunPicker(dialog, [&] {
        DirectoryList(dialog)->setCurrentItem(Entry(dialog, QStringLiteral("gamma")));
        auto* target = dialog.findChild<QWidget*>(focus);
        QVERIFY(target != nullptr);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
    });
    QCOMPARE(result, expected);
    QCOMPARE(dialog.SelectedDir, selected);
    QCOMPARE(QDir::currentPath(), root_);
}

// A path too long for the label is drawn with its end in view; the whole path is the tool
// tip and what Select returns.
void DirectoryPickerTest::longPathShowsItsEndAndStaysWhole() {
    const QString path = QStringLiteral("/komar") +
                         QStringLiteral("/a-rather-deeply-nested-directory").repeated(8) +
                         QStringLiteral("/the-end/");
    CSpecFileDialog dialog(path, nullptr, {QStringLiteral("/")});
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("pathLabel"));
    QCOMPARE(label->text(), path);
    QCOMPARE(label->toolTip(), path);
    const QString shown =
        label->fontMetrics().elidedText(path, Qt::ElideLeft, label->contentsRect().width());
    QVERIFY(shown.startsWith(QChar(0x2026)));
    QVERIFY(shown.endsWith(QStringLiteral("/the-end/")));
    // Drawn exactly as a label holding only the shown text.
    QLabel reference(shown, &dialog);
    reference.setTextFormat(Qt::PlainText);
    reference.setAlignment(label->alignment());
    reference.setGeometry(label->geometry());
    QCOMPARE(label->grab().toImage(), reference.grab().toImage());
    // Shown to its end, the path is not clipped: the layout leaves the label as it is.
    QCOMPARE(shell::ClippedTexts(dialog), QStringList());

    const int result = RunPicker(dialog, [&] { Button(dialog, "selectButton")->click(); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDir, path);
}

// A list box shows no partly cut last row: it is as tall as the whole rows that fit its
// template rectangle.
void DirectoryPickerTest::directoryListShowsWholeRowsOnly() {
    for (int i = 0; i < 30; ++i) {
        QVERIFY(QDir().mkpath(root_ + QStringLiteral("/many/d%1").arg(i, 2, 10, QChar('0'))));
    }
    QVERIFY(QDir::setCurrent(root_ + QStringLiteral("/many")));
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = DirectoryList(dialog);
    const int row = list->sizeHintForRow(0);
    QVERIFY(row > 0);
    const int shown = list->viewport()->height();
    QVERIFY2(shown % row == 0, qPrintable(QStringLiteral("%1 % %2").arg(shown).arg(row)));
    const QRect area = shell::DialogUnitsToPixels(dialog.TemplateUnits(*list),
                                                  shell::DialogBaseUnits(dialog.font()));
    QCOMPARE(list->geometry().topLeft(), area.topLeft());
    QCOMPARE(list->width(), area.width());
    QVERIFY(list->height() <= area.height());
    QVERIFY(list->height() > area.height() - row);
    // Every row the list shows is whole: the last visible one ends at the viewport's edge.
    const int last = shown / row - 1;
    QCOMPARE(list->visualItemRect(list->item(last)).bottom(), shown - 1);
}

// A directory whose name is no UTF-8 is listed, opened and returned with its bytes intact.
void DirectoryPickerTest::namesThatAreNoUtf8KeepTheirBytes() {
    const std::string root = root_.toStdString();
    const std::string odd = root + "/\xff\xfe";
    QCOMPARE(::mkdir(odd.c_str(), 0700), 0);
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
    QString entry;
    for (const QString& name : Entries(dialog)) {
        if (shell::BytesFromText(name) == "\xff\xfe") {
            entry = name;
        }
    }
    QVERIFY2(!entry.isEmpty(), qPrintable(Entries(dialog).join('|')));
    std::string current, label;
    const int result = RunPicker(dialog, [&] {
        SpaceOnEntry(dialog, entry);
        current = platform::CurrentDirectory();
        label = shell::BytesFromText(LabelText(dialog));
        Button(dialog, "selectButton")->click();
    });
    QCOMPARE(current, odd);
    QCOMPARE(label, odd);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(shell::BytesFromText(dialog.SelectedDir), odd);
}

void DirectoryPickerTest::directoryThatCannotBeEnteredChangesNothing() {
    CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
    const int result = RunPicker(dialog, [&] {
        QVERIFY(QDir(root_ + QStringLiteral("/Alpha")).removeRecursively());
        DoubleClickEntry(dialog, QStringLiteral("Alpha"));
        QCOMPARE(LabelText(dialog), QStringLiteral("field/"));
        QCOMPARE(QDir::currentPath(), root_);
        Button(dialog, "selectButton")->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDir, QStringLiteral("field/"));
}

namespace {

// Opens a directory that may be entered but not read, in a scratch tree under /tmp; returns
// 0 when the picker shows it with no subdirectories and no message box, else the failing step.
int OpenUnreadableDirectory() {
    char pattern[] = "/tmp/pelkor-picker-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return 10;
    }
    const QString base = QString::fromLocal8Bit(pattern);
    const QString locked = base + QStringLiteral("/locked");
    int failure = 0;
    if (!QDir().mkpath(locked + QStringLiteral("/hidden-away")) ||
        chmod(locked.toLocal8Bit().constData(), S_IWUSR | S_IXUSR) != 0 ||
        !QDir::setCurrent(base)) {
        failure = 11;
    } else {
        CSpecFileDialog dialog(QStringLiteral("field/"), nullptr, {QStringLiteral("/")});
        dialog.show();
        QListWidget* list = DirectoryList(dialog);
        list->setCurrentItem(Entry(dialog, QStringLiteral("locked")));
        QTest::keyClick(list, Qt::Key_Space);
        bool boxShown = false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            boxShown = boxShown || (qobject_cast<QMessageBox*>(widget) && widget->isVisible());
        }
        if (LabelText(dialog) != locked) {
            failure = 12;
        } else if (QDir::currentPath() != locked) {
            failure = 13;
        } else if (Entries(dialog) != QStringList{QStringLiteral("..")}) {
            failure = 14;
        } else if (boxShown || !dialog.isVisible()) {
            failure = 15;
        }
        dialog.reject();
    }
    chmod(locked.toLocal8Bit().constData(), S_IRWXU);
    QDir::setCurrent(QStringLiteral("/"));
    QDir(base).removeRecursively();
    return failure;
}

}  // namespace

void DirectoryPickerTest::unreadableDirectoryShowsNoSubdirectories() {
    if (geteuid() != 0) {
        QCOMPARE(OpenUnreadableDirectory(), 0);
        return;
    }
    // root reads every directory, so the check runs in a child that has given up root.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) {
            _exit(20);
        }
        _exit(OpenUnreadableDirectory());
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

void DirectoryPickerTest::mountedVolumesStartWithRoot() {
    QStringList volumes = MountedVolumes();
    QVERIFY(!volumes.isEmpty());
    QCOMPARE(volumes.first(), QStringLiteral("/"));
    QCOMPARE(volumes.removeDuplicates(), 0);
    for (const QString& root : volumes) {
        QVERIFY2(QFileInfo(root).isDir(), qPrintable(root));
    }
}

QTEST_MAIN(DirectoryPickerTest)
#include "directory_picker_test.moc"
