// F1 help: the topic of the dialog in front, the page installed with the program, failures.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <vector>

#include "resources/resource.hpp"
#include "shell/qt/help.hpp"
#include "support/temp_tree.hpp"

using testing_support::RecordingPresenter;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyDialogTopicHasItsSectionInThePage();
    void buildTreeHoldsThePageWhereTheProgramLooks();
    void f1OpensTheDialogsTopic_data();
    void f1OpensTheDialogsTopic();
    void failingBrowserShowsTheMessage();
    void missingPageShowsTheMessageWithoutStartingTheBrowser();

private:
    std::vector<QUrl> opened_;
    bool launcherWorks_ = true;
    RecordingPresenter presenter_;
};

void HelpTest::init() {
    opened_.clear();
    presenter_.messages.clear();
    launcherWorks_ = true;
    shell::SetHelpFile(QStringLiteral(PELKOR_HELP_SOURCE));
    shell::SetHelpLauncher([this](const QUrl& url) {
        opened_.push_back(url);
        return launcherWorks_;
    });
}

void HelpTest::cleanup() {
    shell::SetHelpLauncher({});
    shell::SetHelpFile(QString());
}

void HelpTest::everyDialogTopicHasItsSectionInThePage() {
    const QByteArray page = ReadAll(QStringLiteral(PELKOR_HELP_SOURCE));
    QVERIFY(!page.isEmpty());
    for (int dialog : {resources::IDD_MAIN, resources::IDD_ABOUTBOX}) {
        const QString anchor = shell::HelpAnchor(shell::kHelpTopicBase + dialog);
        QVERIFY2(!anchor.isEmpty(), qPrintable(QString::number(dialog)));
        QVERIFY2(page.contains(("id=\"" + anchor + "\"").toUtf8()), qPrintable(anchor));
    }
    QVERIFY(shell::HelpAnchor(shell::kHelpTopicBase + resources::IDD_LISTVIEW).isEmpty());
}

void HelpTest::buildTreeHoldsThePageWhereTheProgramLooks() {
    shell::SetHelpFile(QString());
    const QString installed = shell::HelpFile();
    QVERIFY2(QFileInfo(installed).isFile(), qPrintable(installed));
    QCOMPARE(ReadAll(installed), ReadAll(QStringLiteral(PELKOR_HELP_SOURCE)));
}

void HelpTest::f1OpensTheDialogsTopic_data() {
    QTest::addColumn<int>("dialog");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("fragment");  // empty: the help is not opened
    const QString main = QStringLiteral("main-dialog");
    const QString about = QStringLiteral("about-box");
    QTest::newRow("main dialog") << resources::IDD_MAIN << int(Qt::NoModifier) << main;
    QTest::newRow("About box") << resources::IDD_ABOUTBOX << int(Qt::NoModifier) << about;
    QTest::newRow("Shift") << resources::IDD_MAIN << int(Qt::ShiftModifier) << QString();
    QTest::newRow("Ctrl") << resources::IDD_MAIN << int(Qt::ControlModifier) << QString();
    QTest::newRow("Alt") << resources::IDD_ABOUTBOX << int(Qt::AltModifier) << QString();
}

void HelpTest::f1OpensTheDialogsTopic() {
    QFETCH(int, dialog);
    QFETCH(int, modifiers);
    QFETCH(QString, fragment);
    QDialog window;
    auto* field = new QLineEdit(&window);
    shell::InstallHelpKey(window, dialog, presenter_);
    window.show();
    // F1 belongs to the active window: wait until the application has made it this one.
    QVERIFY(QTest::qWaitFor([&window] {
        if (QApplication::activeWindow() != &window) {
            window.activateWindow();
        }
        return QApplication::activeWindow() == &window;
    }));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
    if (fragment.isEmpty()) {
        QCOMPARE(opened_.size(), std::size_t{0});
        return;
    }
    QCOMPARE(opened_.size(), std::size_t{1});
    QCOMPARE(opened_[0].toLocalFile(), QStringLiteral(PELKOR_HELP_SOURCE));
    QCOMPARE(opened_[0].fragment(), fragment);
    QVERIFY(presenter_.messages.empty());
}

void HelpTest::failingBrowserShowsTheMessage() {
    launcherWorks_ = false;
    QVERIFY(!shell::OpenHelp(shell::kHelpTopicBase + resources::IDD_MAIN, presenter_));
    QCOMPARE(opened_.size(), std::size_t{1});
    QCOMPARE(presenter_.messages, std::vector<std::string>{"ﾍﾙﾌﾟの起動に失敗しました。"});
}

void HelpTest::missingPageShowsTheMessageWithoutStartingTheBrowser() {
    QTemporaryDir scratch;
    shell::SetHelpFile(scratch.path() + QStringLiteral("/pelkor.html"));
    QVERIFY(!shell::OpenHelp(shell::kHelpTopicBase + resources::IDD_ABOUTBOX, presenter_));
    QVERIFY(opened_.empty());
    QCOMPARE(presenter_.messages, std::vector<std::string>{"ﾍﾙﾌﾟの起動に失敗しました。"});
}

QTEST_MAIN(HelpTest)
#include "help_test.moc"
