// File names between the file system's bytes and Qt's texts: valid UTF-8 reads as itself,
// every other byte as a lone surrogate that turns back into that byte.
#include <QtTest>
#include <string>

#include "shell/qt/byte_text.hpp"

class ByteTextTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const auto escaped = [](std::initializer_list<char16_t> units) {
            QString text;
            for (char16_t unit : units) {
                text.append(QChar(unit));
            }
            return text;
        };
        QTest::newRow("ASCII") << QByteArray("/opt/koma") << QStringLiteral("/opt/koma");
        QTest::newRow("Japanese") << QByteArray("/opt/\xe3\x82\xb3\xe3\x83\x9e")
                                  << QStringLiteral("/opt/コマ");
        QTest::newRow("outside the BMP") << QByteArray("\xf0\x9f\x98\x80") << QStringLiteral("😀");
        QTest::newRow("no UTF-8") << QByteArray("/x/\xff\xfe")
                                  << QStringLiteral("/x/") + escaped({0xDCFF, 0xDCFE});
        QTest::newRow("cut-off sequence")
            << QByteArray("a\xe3\x82") << QStringLiteral("a") + escaped({0xDCE3, 0xDC82});
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << escaped({0xDCC0, 0xDCAF});
        QTest::newRow("encoded surrogate")
            << QByteArray("\xed\xb2\x80") << escaped({0xDCED, 0xDCB2, 0xDC80});
        QTest::newRow("beyond U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80") << escaped({0xDCF4, 0xDC90, 0xDC80, 0xDC80});
        QTest::newRow("valid after invalid")
            << QByteArray("\x80\xe3\x82\xb3") << escaped({0xDC80}) + QStringLiteral("コ");
    }

    void roundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::string original = bytes.toStdString();
        QCOMPARE(shell::TextFromBytes(original), text);
        QCOMPARE(QByteArray::fromStdString(shell::BytesFromText(text)), bytes);
    }

    // A surrogate that no byte stands for (typed or pasted) is written as U+FFFD.
    void strayLoneSurrogate() {
        QCOMPARE(QByteArray::fromStdString(shell::BytesFromText(QString(QChar(0xD800)))),
                 QByteArray("\xef\xbf\xbd"));
        QCOMPARE(QByteArray::fromStdString(shell::BytesFromText(QString(QChar(0xDC20)))),
                 QByteArray("\xef\xbf\xbd"));
    }
};

QTEST_APPLESS_MAIN(ByteTextTest)
#include "byte_text_test.moc"
