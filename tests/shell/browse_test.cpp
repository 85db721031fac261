// Browse and F1 in the main dialog: the picker started from the field, the field rewritten
// only by Select, and the help opened at the topic of the dialog in front.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <vector>

#include "resources/resource.hpp"
#include "shell/about_dlg.hpp"
#include "shell/dialog_template.hpp"
#include "shell/directory_picker.hpp"
#include "shell/help.hpp"
#include "shell/list_main_dlg.hpp"
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

// Opens the entry called name in the picker's directory list with Enter.
void OpenEntry(CSpecFileDialog& picker, const QString& name) {
    auto* list = picker.findChild<QListWidget*>(QStringLiteral("lst2"));
    const auto found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    list->setCurrentItem(found.first());
    QTest::keyClick(list, Qt::Key_Return);
}

// F1 belongs to the window that has the keyboard, as the one a person looks at does: makes
// window the active one and waits until the application agrees.
bool Activate(QWidget* window) {
    return QTest::qWaitFor([window] {
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
        }
        return QApplication::activeWindow() == window;
    });
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
        state.label = picker->findChild<QLabel*>(QStringLiteral("stc1"))->text();
        state.browsed = picker->BrowsedDir();
        state.ownedByMain = picker->parentWidget() == main && picker->isModal();
        state.offset = picker->pos() - main->mapToGlobal(QPoint(0, 0));
        state.templateOffset =
            shell::DialogUnitsToPixels(QRect(36, 24, 0, 0), shell::DialogBaseUnits(picker->font()))
                .topLeft();
        for (const QString& name : open) {
            OpenEntry(*picker, name);
        }
        const char* button = end == End::kSelect ? "IDOK" : "IDCANCEL";
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
    void enterOnBrowseAfterStartOpensThePicker();
    void pickerOpensAtItsTemplatePositionOverTheMainDialog();
    void f1OpensTheTopicOfTheDialogInFront();
    void f1ReportsAHelpThatCannotBeOpened();

private:
    QTemporaryDir scratch_;
    QString root_;
    QString saved_;
    RecordingPresenter presenter_;
    RecordingEditor editor_;
    std::vector<QUrl> opened_;
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
    opened_.clear();
    shell::SetHelpLauncher([this](const QUrl& url) {
        opened_.push_back(url);
        return true;
    });
    shell::SetHelpFile(QStringLiteral(PELKOR_HELP_SOURCE));
}

void BrowseTest::cleanup() {
    shell::SetHelpLauncher({});
    shell::SetHelpFile(QString());
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
    QCOMPARE(main.InstallDir, gen.toStdString());
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

void BrowseTest::enterOnBrowseAfterStartOpensThePicker() {
    testing_support::ScopedEnv windir("WINDIR", qPrintable(root_ + QStringLiteral("/nowhere")));
    testing_support::ScopedEnv config("XDG_CONFIG_HOME",
                                      qPrintable(root_ + QStringLiteral("/nowhere")));
    CListMainDlg main("", &presenter_, &editor_);
    QVERIFY(main.OnInitDialog());
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    PickerState picker;
    ModalDriver driver;
    driver.Then(DrivePicker(picker, &main, {}, End::kCancel));
    driver.Start();
    QTest::keyClick(main.focusWidget(), Qt::Key_Return);
    QVERIFY(driver.Done());
    QVERIFY(picker.seen);
    // The picker's label shows what the field proposed at start-up, as a directory.
    QString proposed = main.InstallDirField()->text();
    QVERIFY(!proposed.isEmpty());
    if (!proposed.endsWith(QLatin1Char('/'))) {
        proposed.append(QLatin1Char('/'));
    }
    QCOMPARE(picker.label, proposed);
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

void BrowseTest::f1OpensTheTopicOfTheDialogInFront() {
    CListMainDlg main("", &presenter_, &editor_);
    main.show();
    QVERIFY(Activate(&main));
    QTest::keyClick(main.InstallDirField(), Qt::Key_F1);
    QTest::keyClick(main.BrowseButton(), Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(opened_.size(), std::size_t{1});

    ModalDriver driver;
    driver.Then([](QWidget* about) {
        QVERIFY(qobject_cast<shell::CAboutDlg*>(about) != nullptr);
        QVERIFY(Activate(about));
        QTest::keyClick(about->focusWidget(), Qt::Key_F1);
        QTest::keyClick(about->focusWidget(), Qt::Key_F1, Qt::ControlModifier);
        about->close();
    });
    driver.Start();
    main.OnSysCommand(resources::IDM_ABOUTBOX);
    QVERIFY(driver.Done());

    QCOMPARE(opened_.size(), std::size_t{2});
    QCOMPARE(opened_[0].fragment(), shell::HelpAnchor(shell::kHelpTopicBase + resources::IDD_MAIN));
    QCOMPARE(opened_[1].fragment(),
             shell::HelpAnchor(shell::kHelpTopicBase + resources::IDD_ABOUTBOX));
    QCOMPARE(opened_[0].toLocalFile(), QStringLiteral(PELKOR_HELP_SOURCE));
    QVERIFY(presenter_.messages.empty());
}

void BrowseTest::f1ReportsAHelpThatCannotBeOpened() {
    shell::SetHelpLauncher([](const QUrl&) { return false; });
    CListMainDlg main("", &presenter_, &editor_);
    main.show();
    QVERIFY(Activate(&main));
    QTest::keyClick(main.BrowseButton(), Qt::Key_F1);
    QCOMPARE(presenter_.messages, std::vector<std::string>{"ﾍﾙﾌﾟの起動に失敗しました。"});
}

QTEST_MAIN(BrowseTest)
#include "browse_test.moc"
