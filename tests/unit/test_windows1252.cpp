// Device texts: Windows-1252 bytes to UTF-8 for display and back, without losing a byte.

#include "TestBytes.h"
#include "Windows1252.h"

#include <QTest>

using namespace olg;
using testbytes::Dump;
using testbytes::Hex;
using testbytes::ToBytes;

class TestWindows1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvives();
    void conversions_data();
    void conversions();
    void refused_data();
    void refused();
};

void TestWindows1252::everyByteSurvives() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    const std::string utf8 = Windows1252ToUtf8(bytes);
    // Qt's own UTF-8 decoder accepts what we produce.
    const QString shown = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    QCOMPARE(shown.size(), 256);
    QCOMPARE(QByteArray::fromStdString(utf8), shown.toUtf8());
    const auto back = Utf8ToWindows1252(utf8);
    QVERIFY(back.has_value());
    QCOMPARE(Dump(ToBytes(*back)), Dump(ToBytes(bytes)));
}

void TestWindows1252::conversions_data() {
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QByteArray>("utf8");

    QTest::newRow("ascii") << QByteArray("Rack 1") << QByteArray("Rack 1");
    QTest::newRow("nul kept") << Hex("41 00 42") << Hex("41 00 42");
    QTest::newRow("euro") << Hex("80") << Hex("E2 82 AC");
    QTest::newRow("undefined 81") << Hex("81") << Hex("C2 81");
    QTest::newRow("undefined 9D") << Hex("9D") << Hex("C2 9D");
    QTest::newRow("trade mark") << Hex("99") << Hex("E2 84 A2");
    QTest::newRow("y diaeresis") << Hex("9F") << Hex("C5 B8");
    QTest::newRow("nbsp") << Hex("A0") << Hex("C2 A0");
    QTest::newRow("e acute") << Hex("E9") << Hex("C3 A9");
    QTest::newRow("y diaeresis small") << Hex("FF") << Hex("C3 BF");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestWindows1252::conversions() {
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, utf8);

    QCOMPARE(Dump(QByteArray::fromStdString(Windows1252ToUtf8(device.toStdString()))), Dump(utf8));
    const auto back = Utf8ToWindows1252(utf8.toStdString());
    QVERIFY(back.has_value());
    QCOMPARE(Dump(ToBytes(*back)), Dump(device));
}

// Text that the code page cannot carry, or that is not UTF-8, is refused rather than changed.
void TestWindows1252::refused_data() {
    QTest::addColumn<QByteArray>("utf8");

    QTest::newRow("cyrillic") << Hex("D0 96");
    QTest::newRow("emoji") << Hex("F0 9F 98 80");
    QTest::newRow("lone continuation") << Hex("41 80");
    QTest::newRow("cut sequence") << Hex("41 C3");
    QTest::newRow("bad continuation") << Hex("C3 41");
    QTest::newRow("invalid lead") << Hex("FF");
    QTest::newRow("overlong nul") << Hex("C0 80");
    QTest::newRow("overlong A") << Hex("C1 81");
    QTest::newRow("overlong e acute") << Hex("E0 83 A9");
    QTest::newRow("overlong euro") << Hex("F0 82 82 AC");
    QTest::newRow("surrogate") << Hex("ED A0 80");
}

void TestWindows1252::refused() {
    QFETCH(QByteArray, utf8);

    QVERIFY(!Utf8ToWindows1252(utf8.toStdString()).has_value());
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "test_windows1252.moc"
