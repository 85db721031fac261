// The arguments text and the batch switch: which command lines select batch mode.
#include <QtTest>
#include <string>
#include <vector>

#include "shell/batch_switch.hpp"

namespace {

// The arguments text of "pelkor" started with args.
std::string TextOf(const QStringList& args) {
    std::vector<std::string> storage = {"pelkor"};
    for (const QString& arg : args) {
        storage.push_back(arg.toStdString());
    }
    std::vector<const char*> argv;
    for (const auto& arg : storage) {
        argv.push_back(arg.c_str());
    }
    return shell::ArgumentsText(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

class BatchSwitchTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsText_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("none") << QStringList{} << QByteArray("");
        QTest::newRow("one word") << QStringList{"-maruhi"} << QByteArray("-maruhi");
        QTest::newRow("words joined by one blank")
            << QStringList{"-maruhi", "a", "b"} << QByteArray("-maruhi a b");
        QTest::newRow("leading blanks and tabs dropped")
            << QStringList{" \t -maruhi"} << QByteArray("-maruhi");
        QTest::newRow("leading control characters dropped")
            << QStringList{"\x01\x1f-x"} << QByteArray("-x");
        QTest::newRow("empty first argument")
            << QStringList{"", "-maruhi"} << QByteArray("-maruhi");
        QTest::newRow("inner tab kept") << QStringList{"-maruhi\tx"} << QByteArray("-maruhi\tx");
        QTest::newRow("trailing blanks kept") << QStringList{"a "} << QByteArray("a ");
    }

    void argumentsText() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(TextOf(args)), text);
    }

    void isBatchSwitch_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("batch");
        QTest::newRow("switch alone") << QStringList{"-maruhi"} << true;
        QTest::newRow("switch then words") << QStringList{"-maruhi", "x", "y"} << true;
        QTest::newRow("blank inside the argument") << QStringList{"-maruhi x"} << true;
        QTest::newRow("blanks and tabs before") << QStringList{"\t \t-maruhi"} << true;
        QTest::newRow("tab after the switch") << QStringList{"-maruhi\tx"} << false;
        QTest::newRow("capitals") << QStringList{"-MARUHI"} << false;
        QTest::newRow("slash") << QStringList{"/maruhi"} << false;
        QTest::newRow("second word") << QStringList{"x", "-maruhi"} << false;
        QTest::newRow("longer word") << QStringList{"-maruhiX"} << false;
        QTest::newRow("shorter word") << QStringList{"-maruh"} << false;
        QTest::newRow("twelve characters") << QStringList{"-maruhi12345"} << false;
        QTest::newRow("nothing") << QStringList{} << false;
        // Qt's own options are judged as any other word: after the switch they do not stop
        // batch mode, before it they prevent it.
        QTest::newRow("Qt option after")
            << QStringList{"-maruhi", "-platform", "offscreen"} << true;
        QTest::newRow("Qt option before") << QStringList{"-style", "fusion", "-maruhi"} << false;
        QTest::newRow("Qt reverse before") << QStringList{"-reverse", "-maruhi"} << false;
    }

    void isBatchSwitch() {
        QFETCH(QStringList, args);
        QFETCH(bool, batch);
        QCOMPARE(shell::IsBatchSwitch(TextOf(args)), batch);
    }
};

QTEST_APPLESS_MAIN(BatchSwitchTest)
#include "batch_switch_test.moc"
