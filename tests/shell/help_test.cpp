// F1 help: the topic of the dialog in front, the page installed with the program, failures.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <vector>

#include "resources/resource.hpp"
#include "shell/qt/about_box.hpp"
#include "shell/qt/help.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell_test_support.hpp"
#include "support/temp_tree.hpp"

using testing_support::RecordingPresenter;

namespace {

// Records each URL instead of starting a browser; works tells whether it "started".
class RecordingBrowser final : public shell::HelpBrowser {
public:
    bool OpenUrl(const QUrl& url) override {
        opened.push_back(url);
        return works;
    }
    std::vector<QUrl> opened;
    bool works = true;
};

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

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void everyDialogTopicHasItsSectionInThePage() {
        const QByteArray page = ReadAll(QStringLiteral(PELKOR_HELP_SOURCE));
        QVERIFY(!page.isEmpty());
        for (int dialog : {resources::IDD_MAIN, resources::IDD_ABOUTBOX}) {
            const QString anchor = shell::HelpAnchor(shell::kHelpTopicBase + dialog);
            QVERIFY2(!anchor.isEmpty(), qPrintable(QString::number(dialog)));
            QVERIFY2(page.contains(("id=\"" + anchor + "\"").toUtf8()), qPrintable(anchor));
        }
        QVERIFY(shell::HelpAnchor(shell::kHelpTopicBase + resources::IDD_LISTVIEW).isEmpty());
    }

    void buildTreeHoldsThePageWhereTheProgramLooks() {
        const QString installed = shell::InstalledHelpFile();
        QVERIFY2(QFileInfo(installed).isFile(), qPrintable(installed));
        QCOMPARE(ReadAll(installed), ReadAll(QStringLiteral(PELKOR_HELP_SOURCE)));
    }

    void f1OpensTheTopicOfTheDialogInFront_data() {
        QTest::addColumn<bool>("about");     // the About box in front, else the main dialog
        QTest::addColumn<QString>("focus");  // the control that has the focus
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("browserWorks");
        QTest::addColumn<QString>("fragment");  // empty: the browser is not asked
        const QString main = QStringLiteral("main-dialog");
        const QString about = QStringLiteral("about-box");
        const int none = Qt::NoModifier;
        QTest::newRow("main dialog, field") << false << "IDC_INSTALL_DIR" << none << true << main;
        QTest::newRow("main dialog, Browse") << false << "IDC_BROWSE" << none << true << main;
        QTest::newRow("Shift on the main dialog")
            << false << "IDC_BROWSE" << int(Qt::ShiftModifier) << true << QString();
        QTest::newRow("Ctrl on the main dialog")
            << false << "IDC_INSTALL_DIR" << int(Qt::ControlModifier) << true << QString();
        QTest::newRow("About box") << true << "IDOK" << none << true << about;
        QTest::newRow("Ctrl on the About box")
            << true << "IDOK" << int(Qt::ControlModifier) << true << QString();
        QTest::newRow("Alt on the About box")
            << true << "IDOK" << int(Qt::AltModifier) << true << QString();
        QTest::newRow("browser fails, main dialog")
            << false << "IDC_BROWSE" << none << false << main;
        QTest::newRow("browser fails, About box") << true << "IDOK" << none << false << about;
    }

    void f1OpensTheTopicOfTheDialogInFront() {
        QFETCH(bool, about);
        QFETCH(QString, focus);
        QFETCH(int, modifiers);
        QFETCH(bool, browserWorks);
        QFETCH(QString, fragment);
        RecordingPresenter presenter;
        RecordingBrowser browser;
        browser.works = browserWorks;
        shell::CListMainDlg main("", &presenter, nullptr, nullptr, &browser);
        main.show();
        QVERIFY(Activate(&main));
        auto pressF1 = [&](QWidget* dialog) {
            auto* control = dialog->findChild<QWidget*>(focus);
            QVERIFY2(control != nullptr, qPrintable(focus));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
        };
        if (about) {
            ModalDriver driver;
            driver.Then([&](QWidget* box) {
                QVERIFY(qobject_cast<shell::CAboutDlg*>(box) != nullptr);
                QVERIFY(Activate(box));
                pressF1(box);
                box->close();
            });
            driver.Start();
            main.OnSysCommand(resources::IDM_ABOUTBOX);
            QVERIFY(driver.Done());
        } else {
            pressF1(&main);
        }
        if (fragment.isEmpty()) {
            QVERIFY(browser.opened.empty());
            QVERIFY(presenter.messages.empty());
            return;
        }
        QCOMPARE(browser.opened.size(), std::size_t{1});
        QCOMPARE(browser.opened[0].toLocalFile(), shell::InstalledHelpFile());
        QCOMPARE(browser.opened[0].fragment(), fragment);
        QCOMPARE(presenter.messages, browserWorks
                                         ? std::vector<std::string>{}
                                         : std::vector<std::string>{"ﾍﾙﾌﾟの起動に失敗しました。"});
    }

    void missingPageShowsTheMessageWithoutStartingTheBrowser() {
        QTemporaryDir scratch;
        RecordingPresenter presenter;
        RecordingBrowser browser;
        const shell::Help help(scratch.filePath(QStringLiteral("pelkor.html")), browser, presenter);
        QVERIFY(!help.Open(shell::kHelpTopicBase + resources::IDD_ABOUTBOX));
        QVERIFY(browser.opened.empty());
        QCOMPARE(presenter.messages, std::vector<std::string>{"ﾍﾙﾌﾟの起動に失敗しました。"});
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
