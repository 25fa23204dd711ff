// The program's error messages and the placeholder formatting behind them.

#include "MessageFormat.h"

#include <QTest>

using namespace olg;

class TestMessageFormat : public QObject {
    Q_OBJECT

private slots:
    void errorMessages_data();
    void errorMessages();
    void formatText_data();
    void formatText();
};

void TestMessageFormat::errorMessages_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QByteArray>("message");

    // clang-format off
    QTest::newRow("0") << 0 << QByteArray()                << QByteArray("Device not responding");
    QTest::newRow("1") << 1 << QByteArray("C:\\fw\\a.bin") << QByteArray("File C:\\fw\\a.bin not found!");
    QTest::newRow("2") << 2 << QByteArray("timeout")       << QByteArray("Transfert Error: timeout");
    QTest::newRow("3") << 3 << QByteArray("ignored")       << QByteArray("Verify Error");
    QTest::newRow("4") << 4 << QByteArray()                << QByteArray("Config file not compatible with destination device");
    QTest::newRow("5") << 5 << QByteArray("refused")       << QByteArray("Connection Error: refused");
    QTest::newRow("6") << 6 << QByteArray("admin")         << QByteArray("admin : Logins must be different!");
    QTest::newRow("7") << 7 << QByteArray()                << QByteArray("File must be xx.image.bin or xx.rom.bin");
    // An argument is put in as it is, placeholders included.
    QTest::newRow("argument with %s") << 5 << QByteArray("50%s") << QByteArray("Connection Error: 50%s");
    QTest::newRow("missing argument") << 1 << QByteArray()   << QByteArray("File  not found!");
    // clang-format on
}

void TestMessageFormat::errorMessages() {
    QFETCH(int, index);
    QFETCH(QByteArray, argument);
    QFETCH(QByteArray, message);

    QCOMPARE(int(ErrorMessages.size()), 8);
    const std::string text = FormatErrorMessage(static_cast<ErrorMessage>(index), argument.toStdString());
    QCOMPARE(QByteArray::fromStdString(text), message);
}

void TestMessageFormat::formatText_data() {
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("two in order") << QByteArray("Illegal length for IPString![%s(%d)]")
                                  << QByteArrayList{"1.2", "3"}
                                  << QByteArray("Illegal length for IPString![1.2(3)]");
    QTest::newRow("percent sign") << QByteArray("100%% of %s") << QByteArrayList{"x"}
                                  << QByteArray("100% of x");
    QTest::newRow("unknown placeholder kept")
        << QByteArray("%x and %s") << QByteArrayList{"y"} << QByteArray("%x and y");
    QTest::newRow("trailing percent") << QByteArray("50%") << QByteArrayList{} << QByteArray("50%");
    QTest::newRow("more arguments than places")
        << QByteArray("%s") << QByteArrayList{"a", "b"} << QByteArray("a");
    QTest::newRow("fewer arguments than places")
        << QByteArray("[%s|%s]") << QByteArrayList{"a"} << QByteArray("[a|]");
    QTest::newRow("bytes kept") << QByteArray("<%s>") << QByteArrayList{QByteArray("\xE9\x00z", 3)}
                                << QByteArray("<\xE9\x00z>", 5);
}

void TestMessageFormat::formatText() {
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArrayList, arguments);
    QFETCH(QByteArray, text);

    std::vector<std::string> storage;
    for (const QByteArray& argument : arguments)
        storage.push_back(argument.toStdString());
    std::string result;
    const auto view = [&](std::size_t i) { return std::string_view(storage[i]); };
    switch (storage.size()) {
    case 0:
        result = FormatText(pattern.toStdString(), {});
        break;
    case 1:
        result = FormatText(pattern.toStdString(), {view(0)});
        break;
    default:
        result = FormatText(pattern.toStdString(), {view(0), view(1)});
        break;
    }
    QCOMPARE(QByteArray::fromStdString(result), text);
}

QTEST_GUILESS_MAIN(TestMessageFormat)
#include "test_message_format.moc"
