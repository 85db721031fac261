// The main dialog driven as a person would: start-up proposal, focus and keys, Display with
// its viewer and messages, and the context menu with the About box.
#include <unistd.h>

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/cp932.hpp"
#include "platform/files.hpp"
#include "resources/resource.hpp"
#include "shell/qt/about_box.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/list_viewer.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell_test_support.hpp"
#include "support/list_rules.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"
#include "versionlist/version_list.hpp"

using shell::CListMainDlg;
using shell::CListViewDlg;
using testing_support::RecordingPresenter;
using testing_support::ScopedEnv;

namespace {

std::vector<std::string> Messages(std::initializer_list<std::string> texts) {
    return texts;
}

// What the viewer showed when it came up.
struct ViewerState {
    bool seen = false;
    QStringList lines;
    bool scrolledToEnd = false;
    bool scrollable = false;
    bool focusOnClose = false;
    bool ownedByMain = false;
};

// A step that records the viewer's state, then closes it with its Close button.
ModalDriver::Step RecordViewer(ViewerState& state, QWidget* main) {
    return [&state, main](QWidget* window) {
        auto* viewer = qobject_cast<CListViewDlg*>(window);
        if (viewer == nullptr) {
            window->close();
            return;
        }
        state.seen = true;
        state.lines = viewer->ListText()->toPlainText().split(QLatin1Char('\n'));
        QScrollBar* bar = viewer->ListText()->verticalScrollBar();
        state.scrollable = bar->maximum() > 0;
        state.scrolledToEnd = bar->value() == bar->maximum();
        auto* close = viewer->findChild<QPushButton*>(QStringLiteral("IDOK"));
        state.focusOnClose = viewer->focusWidget() == close;
        state.ownedByMain = viewer->parentWidget() == main && viewer->isModal() &&
                            QApplication::activeModalWidget() == viewer;
        close->click();
    };
}

// The stored lines of a list file (each ended by CR CR LF), decoded for comparison.
QStringList StoredLines(const QByteArray& bytes) {
    QStringList lines;
    const QByteArray eol(testing_support::kEol.data(), testing_support::kEol.size());
    qsizetype start = 0;
    for (qsizetype end; (end = bytes.indexOf(eol, start)) >= 0; start = end + eol.size()) {
        const std::string utf8 = platform::Cp932ToUtf8(bytes.mid(start, end - start).toStdString());
        lines.append(QString::fromStdString(utf8));
    }
    lines.append(QString::fromStdString(platform::Cp932ToUtf8(bytes.mid(start).toStdString())));
    return lines;
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    QString suite_;  // a copy of the demo suite

    void SetField(CListMainDlg& main, const QString& text) {
        main.InstallDirField()->setText(text);
    }

private slots:
    void initTestCase() {
        QVERIFY(scratch_.isValid());
        suite_ = scratch_.filePath(QStringLiteral("suite"));
        QVERIFY(CopyTree(QStringLiteral(PELKOR_DEMO_SUITE), suite_));
        // Settings are looked for in $WINDIR, then in the user's and the system's config.
        qputenv("XDG_CONFIG_HOME", scratch_.filePath(QStringLiteral("no-config")).toUtf8());
        QApplication::setFont(shell::DialogFont());
    }

    // The field shows what the core proposes; the proposal's own rules are the core's.
    void startUpProposesTheInstallDirectory() {
        QTemporaryDir windir;
        QVERIFY(WriteSettings(windir.path(), QString(), QStringLiteral("/opt/koma/Bin")));
        ScopedEnv env("WINDIR", windir.path().toUtf8().constData());
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        QVERIFY(main.OnInitDialog());
        QCOMPARE(main.InstallDirField()->text(), QStringLiteral("/opt/koma"));
        QVERIFY(!main.BatchMode());
        QVERIFY(presenter.messages.empty());
    }

    void focusStartsOnBrowseAndTabMovesOnlyBetweenBrowseAndDisplay() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(QApplication::focusWidget(), main.BrowseButton());
        QVERIFY(main.BrowseButton()->isDefault());  // Enter now presses Browse
        const QWidget* expected[] = {main.ShowButton(), main.BrowseButton(), main.ShowButton(),
                                     main.BrowseButton()};
        for (const QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), main.ShowButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), main.BrowseButton());
    }

    void enterOnBrowsePressesBrowse() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QSignalSpy browse(main.BrowseButton(), &QPushButton::clicked);
        ModalDriver driver;
        driver.Then([](QWidget* picker) { picker->close(); });  // what Browse opens
        driver.Start();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(browse.count(), 1);
        QVERIFY(main.isVisible());
    }

    void enterInTheFieldEndsTheDialog() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.InstallDirField()->setFocus();
        QVERIFY(main.ExitButton()->isDefault());
        QTest::keyClick(main.InstallDirField(), Qt::Key_Return);
        QVERIFY(!main.isVisible());
        QCOMPARE(main.result(), int(QDialog::Accepted));
        QVERIFY(presenter.messages.empty());  // Enter did not run Display
    }

    void escEndsTheDialog() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        main.show();
        QTest::keyClick(main.BrowseButton(), Qt::Key_Escape);
        QVERIFY(!main.isVisible());
        QCOMPARE(main.result(), int(QDialog::Rejected));
    }

    void displayWritesTheListAndShowsItScrolledDown() {
        RecordingPresenter presenter;
        RecordingEditor editor;
        CListMainDlg main("", &presenter, &editor);
        main.OnInitDialog();
        main.show();
        SetField(main, suite_ + "/");  // one trailing separator is dropped by the run
        ViewerState state;
        ModalDriver driver;
        driver.Then(RecordViewer(state, &main));
        driver.Start();
        QTest::mouseClick(main.ShowButton(), Qt::LeftButton);
        QVERIFY(driver.Done());
        QVERIFY(presenter.messages.empty());
        QVERIFY(editor.paths.empty());
        QVERIFY(state.seen);

        const QByteArray stored = ReadAll(suite_ + "/version.lis");
        const QByteArray banner = QByteArray::fromStdString(testing_support::ExpectedBanner());
        QVERIFY(stored.startsWith(banner));
        // One shown line per stored line: no line gained from the doubled CR, none lost.
        const QStringList expected = StoredLines(stored);
        QCOMPARE(state.lines, expected);
        QCOMPARE(state.lines.size(), stored.count(QByteArray("\r\r\n")) + 1);
        for (const QString& line : state.lines) {
            QVERIFY(!line.contains(QLatin1Char('\r')));
        }
        QVERIFY(state.scrollable);
        QVERIFY(state.scrolledToEnd);
        QVERIFY(state.focusOnClose);
        QVERIFY(state.ownedByMain);
    }

    void displayTwiceRewritesTheList() {
        QTemporaryDir dir;
        const QString suite = dir.filePath(QStringLiteral("suite"));
        QVERIFY(CopyTree(suite_, suite));
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        main.show();
        SetField(main, suite);
        ViewerState first, second;
        ModalDriver driver;
        driver.Then(RecordViewer(first, &main));
        driver.Start();
        QTest::mouseClick(main.ShowButton(), Qt::LeftButton);
        QVERIFY(driver.Done());

        // Take the ＫＴＵＮ－Ｒ product away; the second press lists what is left.
        for (const char* name : {"bin/ktunr.exe", "gen/tkd0001.ktd"}) {
            QVERIFY(QFile::remove(QDir(suite).filePath(QString::fromLatin1(name))));
        }
        ModalDriver again;
        again.Then(RecordViewer(second, &main));
        again.Start();
        QTest::mouseClick(main.ShowButton(), Qt::LeftButton);
        QVERIFY(again.Done());

        QVERIFY(first.seen && second.seen);
        QVERIFY(first.lines.join('\n').contains(QStringLiteral("ＫＴＵＮ－Ｒ")));
        QVERIFY(!second.lines.join('\n').contains(QStringLiteral("ＫＴＵＮ－Ｒ")));
        QCOMPARE(second.lines, StoredLines(ReadAll(suite + "/version.lis")));
        QVERIFY(presenter.messages.empty());
    }

    // The list is written into a directory whose name is no UTF-8, as pelkor-list writes it.
    void displayInADirectoryThatIsNoUtf8() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("suite"));
        QVERIFY(CopyTree(suite_, copy));
        const std::string odd = dir.path().toStdString() + "/\xff\xfe";
        QCOMPARE(::rename(copy.toStdString().c_str(), odd.c_str()), 0);
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        main.show();
        SetField(main, shell::TextFromBytes(odd));
        ViewerState state;
        ModalDriver driver;
        driver.Then(RecordViewer(state, &main));
        driver.Start();
        QTest::mouseClick(main.ShowButton(), Qt::LeftButton);
        QVERIFY(driver.Done());
        QVERIFY(presenter.messages.empty());
        QVERIFY(state.seen);
        QCOMPARE(::access((odd + "/version.lis").c_str(), R_OK), 0);
    }

    void displayWithNothingFoundShowsTheMessageAndNoViewer() {
        QTemporaryDir empty;
        RecordingPresenter presenter;
        RecordingEditor editor;
        CListMainDlg main("", &presenter, &editor);
        main.OnInitDialog();
        SetField(main, empty.path());
        bool viewerShown = false;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            viewerShown = true;
            window->close();
        });
        driver.Start();
        main.WriteVersionList();
        QVERIFY(!viewerShown);
        QCOMPARE(presenter.messages, Messages({std::string(versionlist::kNothingFoundMessage)}));
        QVERIFY(editor.paths.empty());
        QVERIFY(QFile::exists(empty.filePath(QStringLiteral("version.lis"))));
    }

    // The dialog's file system is the run's: an empty field asks it for the root's list,
    // which it refuses here rather than letting a test write to /.
    void displayWithAnEmptyFieldAsksForTheListAtTheRoot() {
        testing_support::TestFileSystem fileSystem;
        fileSystem.failCreate = true;
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter, nullptr, &fileSystem);
        main.OnInitDialog();
        SetField(main, QString());
        main.WriteVersionList();
        QCOMPARE(fileSystem.createRequests, std::vector<std::string>{"/version.lis"});
        QCOMPARE(presenter.messages, Messages({"List File[/version.lis] Create Error\n"}));
    }

    void displayWithAMissingDirectoryShowsTheCreateError() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("not-there"));
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        SetField(main, missing);
        bool viewerShown = false;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            viewerShown = true;
            window->close();
        });
        driver.Start();
        main.WriteVersionList();
        QVERIFY(!viewerShown);
        QCOMPARE(presenter.messages,
                 Messages({"List File[" + missing.toStdString() + "/version.lis] Create Error\n"}));
    }

    void contextMenuOffersAboutAndOpensIt_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("right button") << 0;
        QTest::newRow("Menu key") << 1;
        QTest::newRow("Alt+Space") << 2;
    }

    void contextMenuOffersAboutAndOpensIt() {
        QFETCH(int, how);
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        shell::PlaceDialog(main, nullptr);
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QSignalSpy browse(main.BrowseButton(), &QPushButton::clicked);
        QStringList items;
        bool aboutOwned = false;
        QString aboutTitle;
        QPoint aboutCentre;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            auto* menu = qobject_cast<QMenu*>(window);
            QVERIFY(menu != nullptr);
            for (QAction* action : menu->actions()) {
                items.append(action->text());
            }
            QTest::keyClick(menu, Qt::Key_A);  // the item's access key
        });
        driver.Then([&](QWidget* window) {
            aboutOwned = qobject_cast<shell::CAboutDlg*>(window) != nullptr &&
                         window->parentWidget() == &main && window->isModal();
            aboutTitle = window->windowTitle();
            aboutCentre = window->frameGeometry().center();
            QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        });
        driver.Start();
        if (how == 0) {
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    main.mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(&main, &click);
        } else if (how == 1) {
            // The Menu key reaches the focused control first, which passes it on.
            QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                  main.BrowseButton()->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(main.BrowseButton(), &key);
        } else {
            QTest::keyClick(main.BrowseButton(), Qt::Key_Space, Qt::AltModifier);
        }
        QVERIFY(driver.Done());
        QCOMPARE(items, QStringList{QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(pelkor) (&A)...")});
        QVERIFY(aboutOwned);
        QCOMPARE(aboutTitle, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 pelkor"));
        QVERIFY((aboutCentre - main.frameGeometry().center()).manhattanLength() <= 2);
        QCOMPARE(browse.count(), 0);  // Alt+Space did not press the focused button
    }

    void emptyString101MeansNoMenu() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.SetAboutItemText(QString());
        main.OnInitDialog();
        main.show();
        bool shown = false;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            shown = true;
            window->close();
        });
        driver.Start();
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                main.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&main, &click);
        QTest::keyClick(main.BrowseButton(), Qt::Key_Space, Qt::AltModifier);
        QVERIFY(!shown);
    }

    void systemCommandsOfTheAboutRangeOpenTheAboutBox() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        for (int command = 0; command <= 0x21; ++command) {
            int opened = 0;
            ModalDriver driver;
            driver.Then([&](QWidget* window) {
                opened += qobject_cast<shell::CAboutDlg*>(window) != nullptr;
                window->close();
            });
            driver.Start(command >= 0x10 && command <= 0x1F ? 10000 : 0);
            main.OnSysCommand(command);
            QCOMPARE(opened,
                     command >= resources::IDM_ABOUTBOX && command <= resources::IDM_ABOUTBOX + 15
                         ? 1
                         : 0);
        }
    }
};

QTEST_MAIN(MainDialogTest)
#include "main_dialog_test.moc"
