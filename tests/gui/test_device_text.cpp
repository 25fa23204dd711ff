// Device texts through the widgets' strings: what a widget shows and gives back must be the device's bytes.

#include "DeviceText.h"

#include <QTest>

using olg::DeviceText;

class TestDeviceText : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesAWidget();
    void shown_data();
    void shown();
    void refused_data();
    void refused();
};

void TestDeviceText::everyByteSurvivesAWidget() {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const QString text = DeviceText::Decode(all);
    QCOMPARE(text.size(), 256);
    // Through a copy of the string, as an edit control would hand it back.
    const QString edited = QString(text.data(), text.size());
    QCOMPARE(DeviceText::Encode(edited), std::optional<std::string>(all));
}

void TestDeviceText::shown_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("NUL inside kept") << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\0b", 3);
    QTest::newRow("euro and quotes") << QByteArray("\x80 \x93x\x94") << QStringLiteral(u"€ “x”");
    QTest::newRow("undefined byte") << QByteArray("\x81") << QString(QChar(0x81));
    QTest::newRow("markup stays text") << QByteArray("<b>\xe9</b>") << QStringLiteral(u"<b>é</b>");
}

void TestDeviceText::shown() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DeviceText::Decode(bytes.toStdString()), text);
}

void TestDeviceText::refused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("Greek omega") << QStringLiteral(u"a\u03A9b");
    QTest::newRow("C1 control the code page redefines") << QString(QChar(0x80));
    QTest::newRow("outside the basic plane") << QStringLiteral(u"x\U0001F600y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800));
}

void TestDeviceText::refused() {
    QFETCH(QString, text);
    QCOMPARE(DeviceText::Encode(text), std::optional<std::string>());
}

QTEST_GUILESS_MAIN(TestDeviceText)
#include "test_device_text.moc"
