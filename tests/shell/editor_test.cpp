// The editor launcher: the command's words, and a detached start that nothing waits for.
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/editor.hpp"
#include "support/temp_tree.hpp"

using Words = std::vector<std::string>;
Q_DECLARE_METATYPE(Words)

namespace {

// Waits (a few seconds at most) for a file the detached program writes when it is done.
QByteArray WaitForFile(const QString& path) {
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QFile file(path);
        if (file.exists() && file.open(QIODevice::ReadOnly)) {
            QByteArray bytes = file.readAll();
            if (bytes.endsWith("<end>\n")) {
                return bytes;
            }
        }
        QTest::qSleep(20);
    }
    return {};
}

// A script that writes its arguments, one a line, then "<end>", into the file out.
QString RecorderScript(const QTemporaryDir& dir, const QString& out) {
    const QString path = dir.filePath(QStringLiteral("record-args"));
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly)) {
        return {};
    }
    script.write(("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out.toUtf8() +
                  ".tmp'\necho '<end>' >> '" + out.toUtf8() + ".tmp'\nmv '" + out.toUtf8() +
                  ".tmp' '" + out.toUtf8() + "'\n"));
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void splitCommandWords_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Words>("words");
        QTest::newRow("empty") << "" << Words{};
        QTest::newRow("blanks only") << " \t\n " << Words{};
        QTest::newRow("one word") << "gedit" << Words{"gedit"};
        QTest::newRow("words and runs of separators")
            << "  emacs \t-nw\n--x  " << Words{"emacs", "-nw", "--x"};
        QTest::newRow("single quotes keep blanks and backslashes")
            << "'my editor' 'a\\b'" << Words{"my editor", "a\\b"};
        QTest::newRow("double quotes with escapes")
            << "\"a b\" \"q\\\"x\" \"\\n\"" << Words{"a b", "q\"x", "\\n"};
        QTest::newRow("backslash outside quotes") << "a\\ b c" << Words{"a b", "c"};
        QTest::newRow("quotes join with neighbours") << "x'y z'\"w\"" << Words{"xy zw"};
        QTest::newRow("empty quotes make an empty word") << "e ''" << Words{"e", ""};
        QTest::newRow("unclosed quote runs to the end") << "e 'a b" << Words{"e", "a b"};
        QTest::newRow("trailing backslash dropped") << "e\\" << Words{"e"};
    }

    void splitCommandWords() {
        QFETCH(QString, command);
        QFETCH(Words, words);
        QCOMPARE(platform::SplitCommandWords(command.toStdString()), words);
    }

    void editorCommandAppendsThePathAsOneArgument() {
        QCOMPARE(platform::EditorCommand("kate -n", "/x y/version.lis"),
                 (Words{"kate", "-n", "/x y/version.lis"}));
        QCOMPARE(platform::EditorCommand("", "/a/version.lis"),
                 (Words{"xdg-open", "/a/version.lis"}));
        QCOMPARE(platform::EditorCommand(" \t", "/a/version.lis"),
                 (Words{"xdg-open", "/a/version.lis"}));
    }

    void startDetachedRunsTheProgramWithoutLeavingAChild() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString out = dir.filePath(QStringLiteral("args"));
        const QString script = RecorderScript(dir, out);
        // The program sleeps before recording, so a launcher that waited would be seen.
        QVERIFY(platform::StartDetached({"/bin/sh", "-c", "sleep 0.3; exec \"$0\" \"$@\"",
                                         script.toStdString(), "a b", "/p/version.lis"}));
        QVERIFY2(!QFile::exists(out), "the launcher waited for the program");
        // The middle process has been reaped, and the program is no child of ours.
        errno = 0;
        QCOMPARE(::waitpid(-1, nullptr, WNOHANG), pid_t(-1));
        QCOMPARE(errno, ECHILD);
        QCOMPARE(WaitForFile(out), QByteArray("a b\n/p/version.lis\n<end>\n"));
    }

    void startDetachedLooksTheProgramUpInPath() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("args"));
        RecorderScript(dir, out);
        const QByteArray search = dir.path().toUtf8() + ":/usr/bin:/bin";
        testing_support::ScopedEnv path("PATH", search.constData());
        QVERIFY(platform::StartDetached({"record-args", "x"}));
        QCOMPARE(WaitForFile(out), QByteArray("x\n<end>\n"));
    }

    void startDetachedFailsForAMissingProgram() {
        QTemporaryDir dir;
        testing_support::ScopedEnv path("PATH", dir.path().toUtf8().constData());
        QVERIFY(!platform::StartDetached({"no-such-editor", "x"}));
        QVERIFY(!platform::StartDetached({dir.filePath("missing").toStdString()}));
        QVERIFY(!platform::StartDetached({dir.path().toStdString()}));  // a directory
        QVERIFY(!platform::StartDetached({}));
    }

    void systemEditorTakesPelkorEditor() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("args"));
        const QString script = RecorderScript(dir, out);
        const QByteArray command = "'" + script.toUtf8() + "' --new-window";
        testing_support::ScopedEnv editor("PELKOR_EDITOR", command.constData());
        QVERIFY(platform::SystemEditorLauncher().StartEditor("/d/version.lis"));
        QCOMPARE(WaitForFile(out), QByteArray("--new-window\n/d/version.lis\n<end>\n"));
    }
};

QTEST_APPLESS_MAIN(EditorTest)
#include "editor_test.moc"
