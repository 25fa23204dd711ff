// A device's configuration written into and read from a profile file.

#include "ConfigProfile.h"

#include <QTest>

using namespace olg;

namespace {

constexpr std::int64_t Olg1n = 0x01010100;

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

TOLG Olg1nRecord() {
    TOLG record;
    record.SetValue(2, ParamValue::Integer(static_cast<std::int32_t>(0xC0A8010Au)));
    record.SetValue(4, ParamValue::Integer(8080));
    record.SetValue(5, ParamValue::Text("olg1n"));
    record.SetValue(7, ParamValue::Text(" Caf\xe9 \"1\" "));
    record.SetValue(10, ParamValue::Integer(0x4F4C00000001LL));
    record.SetValue(13, ParamValue::Integer(Olg1n));
    record.SetValue(72, ParamValue::Integer(-2)); // a counter past 2^31, as the wire gives it
    return record;
}

} // namespace

class TestConfigProfile : public QObject {
    Q_OBJECT

private slots:
    void storeLayout();
    void storeRefuses_data();
    void storeRefuses();
    void load_data();
    void load();
};

void TestConfigProfile::storeLayout() {
    const DeviceRegistry registry = StandardRegistry();
    const TOLG record = Olg1nRecord();
    ProfileFile profile(View("[olg8w]\r\n13=134414592\r\n"));
    QCOMPARE(ConfigProfile(registry).Store(record, profile), 0);
    const QList<QByteArray> lines = QByteArray::fromStdString(profile.Bytes()).split('\n');
    QCOMPARE(lines.at(2), QByteArray("[olg1n]\r"));
    int previous = 0;
    for (const QByteArray& line : lines.mid(3, lines.size() - 4)) {
        const int id = line.left(line.indexOf('=')).toInt();
        QVERIFY2(id > previous, line.constData());
        QVERIFY(id != 10);
        previous = id;
    }
    QCOMPARE(previous, 72);
    QCOMPARE(profile.ReadString("olg1n", "2").value(), std::string("192.168.1.10"));
    QCOMPARE(profile.ReadString("olg1n", "4").value(), std::string("8080"));
    QCOMPARE(profile.ReadString("olg1n", "8").value(), std::string()); // never received
    QCOMPARE(profile.ReadString("olg8w", "13").value(), std::string("134414592"));

    // Read back into a device of the same type, every value comes back as it was sent.
    TOLG loaded;
    loaded.SetValue(5, ParamValue::Text("OLG1N"));
    loaded.SetValue(13, ParamValue::Integer(Olg1n));
    QVERIFY(ConfigProfile(registry).Load(ProfileFile(profile.Bytes()), loaded));
    for (int id : {2, 4, 7, 13, 72})
        QCOMPARE(loaded.Value(id), record.Value(id));
    QCOMPARE(loaded.Value(5), record.Value(5));
    QVERIFY(loaded.Value(10).IsEmpty());
}

void TestConfigProfile::storeRefuses_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("CR in the device name") << 7 << QByteArray("a\rb");
    QTest::newRow("LF in a password") << 42 << QByteArray("a\n");
    QTest::newRow("NUL in the hidden page") << 17 << QByteArray("\0x", 2);
    QTest::newRow("LF in the model name") << 5 << QByteArray("olg1n\n");
}

void TestConfigProfile::storeRefuses() {
    QFETCH(int, id);
    QFETCH(QByteArray, text);
    TOLG record = Olg1nRecord();
    record.SetValue(id, ParamValue::Text(View(text)));
    const QByteArray before = "; kept\r\n[olg1n]\r\n7=old\r\n";
    ProfileFile profile(View(before));
    QCOMPARE(ConfigProfile(StandardRegistry()).Store(record, profile), id);
    QCOMPARE(QByteArray::fromStdString(profile.Bytes()), before);
}

void TestConfigProfile::load_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<qint64>("address");
    QTest::addColumn<qint64>("delay");

    // clang-format off
    QTest::newRow("missing keys read as defaults")
        << QByteArray("[olg1n]\n13=16843008\n7=Hall\n") << true << QByteArray("Hall") << 0LL << 0LL;
    QTest::newRow("hexadecimal type, other case, odd values")
        << QByteArray("[OLG1N]\r\n13 = 0x01010100\r\n2=10.0.0.300\r\n50=abc\r\n") << true << QByteArray() << 0x0A000000LL << 0LL;
    QTest::newRow("values as written")
        << QByteArray("[olg1n]\r\n13=16843008\r\n2=10.0.0.9\r\n50=15\r\n") << true << QByteArray() << 0x0A000009LL << 15LL;
    QTest::newRow("same model name, other type code")
        << QByteArray("[olg1n]\r\n13=16843009\r\n7=Hall\r\n") << false << QByteArray("Mine") << 0x7F000001LL << 5LL;
    QTest::newRow("type code missing")
        << QByteArray("[olg1n]\r\n7=Hall\r\n") << false << QByteArray("Mine") << 0x7F000001LL << 5LL;
    QTest::newRow("only another model's section")
        << QByteArray("[olg4a]\r\n13=16843008\r\n") << false << QByteArray("Mine") << 0x7F000001LL << 5LL;
    // clang-format on
}

void TestConfigProfile::load() {
    QFETCH(QByteArray, file);
    QFETCH(bool, fits);
    QFETCH(QByteArray, name);
    QFETCH(qint64, address);
    QFETCH(qint64, delay);
    TOLG record;
    record.SetValue(2, ParamValue::Integer(0x7F000001));
    record.SetValue(5, ParamValue::Text("olg1n"));
    record.SetValue(7, ParamValue::Text("Mine"));
    record.SetValue(13, ParamValue::Integer(Olg1n));
    record.SetValue(50, ParamValue::Integer(5));
    const TOLG before = record;
    QCOMPARE(ConfigProfile(StandardRegistry()).Load(ProfileFile(View(file)), record), fits);
    if (!fits)
        QCOMPARE(record, before);
    QCOMPARE(record.Value(7), ParamValue::Text(View(name)));
    QCOMPARE(record.Value(2), ParamValue::Integer(address));
    QCOMPARE(record.Value(50), ParamValue::Integer(delay));
    QCOMPARE(record.Value(13), ParamValue::Integer(Olg1n));
}

QTEST_GUILESS_MAIN(TestConfigProfile)
#include "test_config_profile.moc"
