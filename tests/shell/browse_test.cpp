// Browse in the main dialog: the picker started from the field, the field rewritten only by
// Select.
#include <sys/stat.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <QtTest>
#include <string>
#include <vector>

#include "platform/paths.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/directory_picker.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell_test_support.hpp"
#include "support/temp_tree.hpp"

using shell::CListMainDlg;
using shell::CSpecFileDialog;
using testing_support::RecordingPresenter;

namespace {

// What the picker showed when it came up.
struct PickerState {
    bool seen = false;
    QString label;
    QString browsed;
    bool ownedByMain = false;
    QPoint offset;          // of the picker's top-left corner from the main dialog's
    QPoint templateOffset;  // the template's position in the picker's dialog units
};

// Opens the entry called name in the picker's directory list with Space.
void OpenEntry(CSpecFileDialog& picker, const QString& name) {
    auto* list = picker.findChild<QListWidget*>(QStringLiteral("directoryList"));
    const auto found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    list->setCurrentItem(found.first());
    QTest::keyClick(list, Qt::Key_Space);
}

enum class End { kSelect, kCancel };

// A step that records the picker, opens the entries named in turn, then ends it.
ModalDriver::Step DrivePicker(PickerState& state, QWidget* main, QStringList open, End end) {
    return [&state, main, open, end](QWidget* window) {
        auto* picker = qobject_cast<CSpecFileDialog*>(window);
        if (picker == nullptr) {
            window->close();
            return;
        }
        state.seen = true;
        state.label = picker->findChild<QLabel*>(QStringLiteral("pathLabel"))->text();
        state.browsed = picker->BrowsedDir();
        state.ownedByMain = picker->parentWidget() == main && picker->isModal();
        state.offset = picker->pos() - main->mapToGlobal(QPoint(0, 0));
        state.templateOffset =
            shell::DialogUnitsToPixels(QRect(36, 24, 0, 0), shell::DialogBaseUnits(picker->font()))
                .topLeft();
        for (const QString& name : open) {
            OpenEntry(*picker, name);
        }
        const char* button = end == End::kSelect ? "selectButton" : "cancelButton";
        picker->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    };
}

}  // namespace

class BrowseTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectAtOnceAppendsOneSeparator_data();
    void selectAtOnceAppendsOneSeparator();
    void selectAfterOpeningPutsTheLabelIntoTheField();
    void cancelKeepsTheFieldButTheCurrentDirectoryMoves();
    void enterOnBrowseThenEnterReturnsTheProposedDirectory();
    void pickerOpensAtItsTemplatePositionOverTheMainDialog();
    void fieldThatIsNoUtf8KeepsItsBytes();

private:
    QTemporaryDir scratch_;
    QString root_;
    QString saved_;
    RecordingPresenter presenter_;
    RecordingEditor editor_;
};

void BrowseTest::init() {
    QVERIFY(scratch_.isValid());
    root_ = QDir(scratch_.path()).canonicalPath();
    QVERIFY(QDir().mkpath(root_ + QStringLiteral("/komar/bin")));
    QVERIFY(QDir().mkpath(root_ + QStringLiteral("/komar/gen")));
    QVERIFY(QDir().mkpath(root_ + QStringLiteral("/elsewhere")));
    saved_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root_ + QStringLiteral("/elsewhere")));
    presenter_.messages.clear();
}

void BrowseTest::cleanup() {
    QDir::setCurrent(saved_);
}

void BrowseTest::selectAtOnceAppendsOneSeparator_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("current");  // relative to the scratch tree
    QTest::newRow("existing directory") << "%/komar"
                                        << "%/komar/"
                                        << "komar";
    QTest::newRow("already ends in one") << "%/komar/"
                                         << "%/komar/"
                                         << "komar";
    QTest::newRow("relative to the current directory") << "../komar/gen"
                                                       << "../komar/gen/"
                                                       << "komar/gen";
    QTest::newRow("missing directory") << "%/gone"
                                       << "%/gone/"
                                       << "elsewhere";
    QTest::newRow("empty field") << ""
                                 << "/"
                                 << "/";
}

void BrowseTest::selectAtOnceAppendsOneSeparator() {
    QFETCH(QString, field);
    QFETCH(QString, result);
    QFETCH(QString, current);
    field.replace(QLatin1Char('%'), root_);
    result.replace(QLatin1Char('%'), root_);
    current = current == QStringLiteral("/") ? current : root_ + QLatin1Char('/') + current;

    CListMainDlg main("", &presenter_, &editor_);
    main.show();
    main.InstallDirField()->setText(field);
    PickerState picker;
    ModalDriver driver;
    driver.Then(DrivePicker(picker, &main, {}, End::kSelect));
    driver.Start();
    main.BrowseButton()->click();
    QVERIFY(driver.Done());

    QVERIFY(picker.seen);
    QVERIFY(picker.ownedByMain);
    // The label first shows the field's text as a directory; the lists show where the
    // process is.
    QCOMPARE(picker.label, result);
    QCOMPARE(picker.browsed, current);
    QCOMPARE(main.InstallDirField()->text(), result);
    QCOMPARE(QDir::currentPath(), current);
    QVERIFY(presenter_.messages.empty());
}

void BrowseTest::selectAfterOpeningPutsTheLabelIntoTheField() {
    CListMainDlg main("", &presenter_, &editor_);
    main.show();
    main.InstallDirField()->setText(root_ + QStringLiteral("/komar"));
    PickerState picker;
    ModalDriver driver;
    driver.Then(DrivePicker(picker, &main, {"bin", "..", "gen"}, End::kSelect));
    driver.Start();
    main.BrowseButton()->click();
    QVERIFY(driver.Done());

    const QString gen = root_ + QStringLiteral("/komar/gen");
    QCOMPARE(main.InstallDirField()->text(), gen);
    QCOMPARE(QDir::currentPath(), gen);
    // The field is replaced whole, with nothing to undo back to.
    QVERIFY(!main.InstallDirField()->isUndoAvailable());
}

void BrowseTest::cancelKeepsTheFieldButTheCurrentDirectoryMoves() {
    CListMainDlg main("", &presenter_, &editor_);
    main.show();
    const QString field = root_ + QStringLiteral("/komar");
    main.InstallDirField()->setText(field);
    PickerState picker;
    ModalDriver driver;
    driver.Then(DrivePicker(picker, &main, {"bin"}, End::kCancel));
    driver.Start();
    main.BrowseButton()->click();
    QVERIFY(driver.Done());

    QVERIFY(picker.seen);
    QCOMPARE(main.InstallDirField()->text(), field);
    QCOMPARE(QDir::currentPath(), field + QStringLiteral("/bin"));
}

// 参照 then Enter: the picker opens with the focus in its directory list, and Enter there is
// the OK command, returning the proposed directory rather than opening an entry.
void BrowseTest::enterOnBrowseThenEnterReturnsTheProposedDirectory() {
    QVERIFY(WriteSettings(root_ + QStringLiteral("/windir"), root_ + QStringLiteral("/komar"),
                          QString()));
    testing_support::ScopedEnv windir("WINDIR", qPrintable(root_ + QStringLiteral("/windir")));
    CListMainDlg main("", &presenter_, &editor_);
    QVERIFY(main.OnInitDialog());
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QString focus;
    QString label;
    bool endedByEnter = false;
    ModalDriver driver;
    driver.Then([&](QWidget* window) {
        auto* picker = qobject_cast<CSpecFileDialog*>(window);
        QVERIFY(picker != nullptr);
        focus = picker->focusWidget()->objectName();
        label = picker->findChild<QLabel*>(QStringLiteral("pathLabel"))->text();
        QTest::keyClick(picker->focusWidget(), Qt::Key_Return);
        endedByEnter = !picker->isVisible();
        if (!endedByEnter) {
            picker->reject();
        }
    });
    driver.Start();
    QTest::keyClick(main.focusWidget(), Qt::Key_Return);
    QVERIFY(driver.Done());
    QCOMPARE(focus, QStringLiteral("directoryList"));
    QVERIFY(endedByEnter);
    QCOMPARE(label, root_ + QStringLiteral("/komar/"));
    QCOMPARE(main.InstallDirField()->text(), root_ + QStringLiteral("/komar/"));
    QCOMPARE(QDir::currentPath(), root_ + QStringLiteral("/komar"));
    QCOMPARE(main.focusWidget(), main.BrowseButton());
}

void BrowseTest::pickerOpensAtItsTemplatePositionOverTheMainDialog() {
    CListMainDlg main("", &presenter_, &editor_);
    main.move(40, 30);
    main.show();
    PickerState picker;
    ModalDriver driver;
    driver.Then(DrivePicker(picker, &main, {}, End::kCancel));
    driver.Start();
    main.BrowseButton()->click();
    QVERIFY(driver.Done());
    QVERIFY(!picker.templateOffset.isNull());
    QCOMPARE(picker.offset, picker.templateOffset);
}

// A field naming a directory that is no UTF-8 is entered and shown with its bytes intact.
void BrowseTest::fieldThatIsNoUtf8KeepsItsBytes() {
    const std::string odd = root_.toStdString() + "/\xff\xfe";
    QCOMPARE(::mkdir(odd.c_str(), 0700), 0);
    CListMainDlg main("", &presenter_, &editor_);
    main.show();
    main.InstallDirField()->setText(shell::TextFromBytes(odd));
    std::string label, current;
    ModalDriver driver;
    driver.Then([&](QWidget* window) {
        label =
            shell::BytesFromText(window->findChild<QLabel*>(QStringLiteral("pathLabel"))->text());
        current = platform::CurrentDirectory();
        window->findChild<QPushButton*>(QStringLiteral("selectButton"))->click();
    });
    driver.Start();
    main.BrowseButton()->click();
    QVERIFY(driver.Done());
    QCOMPARE(label, odd + "/");
    QCOMPARE(current, odd);
    QCOMPARE(shell::BytesFromText(main.InstallDirField()->text()), odd + "/");
}

QTEST_MAIN(BrowseTest)
#include "browse_test.moc"
