// The application object: interactive start-up, and batch mode in-process and as a real
// pelkor process on the demo suite.
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <string>

#include "shell/qt/list_app.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell_test_support.hpp"
#include "support/list_rules.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "versionlist/version_list.hpp"

using testing_support::RecordingPresenter;
using testing_support::ScopedEnv;

namespace {

bool AnyWindowVisible() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            return true;
        }
    }
    return false;
}

}  // namespace

class BatchModeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    QString suite_;

    // A settings directory whose HOME names dir.
    QString WindirFor(const QString& dir) {
        static int count = 0;
        const QString windir = scratch_.filePath(QStringLiteral("windir%1").arg(++count));
        return WriteSettings(windir, dir, QString()) ? windir : QString();
    }

private slots:
    void initTestCase() {
        QVERIFY(scratch_.isValid());
        suite_ = scratch_.filePath(QStringLiteral("suite"));
        QVERIFY(CopyTree(QStringLiteral(PELKOR_DEMO_SUITE), suite_));
        qputenv("XDG_CONFIG_HOME", scratch_.filePath(QStringLiteral("no-config")).toUtf8());
    }

    void interactiveStartShowsTheMainDialogWithTheProposal() {
        ScopedEnv windir("WINDIR", WindirFor(suite_).toUtf8().constData());
        RecordingPresenter presenter;
        RecordingEditor editor;
        QString field;
        bool focusOnBrowse = false;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            auto* main = qobject_cast<shell::CListMainDlg*>(window);
            QVERIFY(main != nullptr);
            field = main->InstallDirField()->text();
            focusOnBrowse = main->focusWidget() == main->BrowseButton();
            main->ExitButton()->click();
        });
        driver.Start();
        QCOMPARE(shell::CListApp("", &presenter, &editor).InitInstance(), 0);
        QVERIFY(driver.Done());
        QCOMPARE(field, suite_);
        QVERIFY(focusOnBrowse);
        QVERIFY(presenter.messages.empty());
        QVERIFY(editor.paths.empty());
    }

    // Qt's own texts (here the field's context menu) are Japanese like the program's, whatever
    // the locale the tests run in.
    void qtsOwnTextsAreJapanese() {
        QCOMPARE(QLocale::system().language(), QLocale::C);
        ScopedEnv windir("WINDIR", WindirFor(suite_).toUtf8().constData());
        RecordingPresenter presenter;
        QStringList texts;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            auto* main = qobject_cast<shell::CListMainDlg*>(window);
            QVERIFY(main != nullptr);
            std::unique_ptr<QMenu> menu(main->InstallDirField()->createStandardContextMenu());
            for (const QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    texts.append(action->text().section(QLatin1Char('\t'), 0, 0));  // no key
                }
            }
            main->ExitButton()->click();
        });
        driver.Start();
        QCOMPARE(shell::CListApp("", &presenter).InitInstance(), 0);
        QVERIFY(driver.Done());
        QVERIFY(!texts.isEmpty());
        QVERIFY2(!texts.contains(QStringLiteral("&Undo")), qPrintable(texts.join(' ')));
        for (const QString& text : texts) {
            const bool japanese = std::any_of(text.begin(), text.end(),
                                              [](QChar c) { return c.unicode() >= 0x3000; });
            QVERIFY2(japanese, qPrintable(text));
        }
    }

    void batchWritesTheListAndStartsTheEditor() {
        QTemporaryDir dir;
        const QString suite = dir.filePath(QStringLiteral("suite"));
        QVERIFY(CopyTree(suite_, suite));
        ScopedEnv windir("WINDIR", WindirFor(suite).toUtf8().constData());
        RecordingPresenter presenter;
        RecordingEditor editor;
        ModalDriver driver;
        bool windowShown = false;
        driver.Then([&](QWidget* window) {
            windowShown = true;
            window->close();
        });
        driver.Start();
        QCOMPARE(shell::CListApp("-maruhi x", &presenter, &editor).InitInstance(), 0);
        QVERIFY(!windowShown);
        QVERIFY(!AnyWindowVisible());
        QVERIFY(presenter.messages.empty());
        const std::string list = (suite + "/version.lis").toStdString();
        QCOMPARE(editor.paths, std::vector<std::string>{list});
        QVERIFY(ReadAll(QString::fromStdString(list))
                    .startsWith(QByteArray::fromStdString(testing_support::ExpectedBanner())));
    }

    void batchFailuresShowTheirMessageAndEndWithoutEditor_data() {
        QTest::addColumn<bool>("exists");
        QTest::newRow("nothing found") << true;
        QTest::newRow("list not creatable") << false;
    }

    void batchFailuresShowTheirMessageAndEndWithoutEditor() {
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString install = exists ? dir.path() : dir.filePath(QStringLiteral("missing"));
        ScopedEnv windir("WINDIR", WindirFor(install).toUtf8().constData());
        RecordingPresenter presenter;
        RecordingEditor editor;
        QCOMPARE(shell::CListApp("-maruhi", &presenter, &editor).InitInstance(), 0);
        const std::string expected =
            exists ? std::string(versionlist::kNothingFoundMessage)
                   : "List File[" + install.toStdString() + "/version.lis] Create Error\n";
        QCOMPARE(presenter.messages, std::vector<std::string>{expected});
        QVERIFY(editor.paths.empty());
        QVERIFY(!AnyWindowVisible());
    }

    // The real program: Qt takes its -platform option after the switch has been judged.
    // The editor gets the list's absolute path, even for an install directory given relative
    // to the current directory and named like an option.
    void batchAsARealProcess_data() {
        QTest::addColumn<QString>("installDir");  // as the settings file names it
        QTest::newRow("absolute") << QString();
        QTest::newRow("relative, like an option") << QStringLiteral("-x");
        QTest::newRow("relative, like a plus option") << QStringLiteral("+x");
    }

    void batchAsARealProcess() {
        QFETCH(QString, installDir);
        QTemporaryDir dir;
        const QString suite =
            dir.filePath(installDir.isEmpty() ? QStringLiteral("suite") : installDir);
        QVERIFY(CopyTree(suite_, suite));
        const QString record = dir.filePath(QStringLiteral("editor-args"));
        const QString script = dir.filePath(QStringLiteral("editor"));
        {
            QFile file(script);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\"\nmv \"$0.tmp\" '" +
                       record.toUtf8() + "'\n");
        }
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WINDIR"), WindirFor(installDir.isEmpty() ? suite : installDir));
        env.insert(QStringLiteral("PELKOR_EDITOR"), "'" + script + "' --new-window");
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));  // overridden
        QProcess pelkor;
        pelkor.setProcessEnvironment(env);
        pelkor.setWorkingDirectory(dir.path());
        pelkor.start(
            QStringLiteral(PELKOR_EXE),
            {QStringLiteral("-maruhi"), QStringLiteral("-platform"), QStringLiteral("offscreen")});
        QVERIFY(pelkor.waitForFinished(30000));
        QCOMPARE(pelkor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(pelkor.exitCode(), 0);

        const QString list = suite + "/version.lis";
        QVERIFY(
            ReadAll(list).startsWith(QByteArray::fromStdString(testing_support::ExpectedBanner())));
        QByteArray args;
        QDeadlineTimer deadline(10000);
        while ((args = ReadAll(record)).isEmpty() && !deadline.hasExpired()) {
            QTest::qWait(20);
        }
        QCOMPARE(args, "--new-window\n" + list.toUtf8() + "\n");
    }
};

QTEST_MAIN(BatchModeTest)
#include "batch_mode_test.moc"
