// The parameter tables of every registered type and the queries over them.

#include "Catalogue.h"
#include "DeviceRegistry.h"

#include <QList>
#include <QTest>

#include <set>

using namespace olg;

namespace {

ParamValue Code(std::int64_t code) {
    return ParamValue::Integer(code);
}

QList<int> Olg8aLogins() {
    QList<int> ids{8, 18};
    for (int d = 0; d <= 4; ++d)
        for (int j = 0; j <= 7; ++j)
            ids << 42 + 100 * d + 4 * j;
    return ids;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void registeredTypes_data();
    void registeredTypes();
    void descriptors_data();
    void descriptors();
    void unregisteredType_data();
    void unregisteredType();
    void customRegistry();
};

void TestCatalogue::registeredTypes_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<quint32>("typeCode");
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("maxId");
    QTest::addColumn<QList<int>>("logins");
    QTest::addColumn<int>("webScheme");
    QTest::addColumn<int>("adminPage");

    const QList<int> fourLogins{8, 18, 57, 61, 65, 69};
    const QList<int> eightNLogins{8, 18, 57, 61, 65, 69, 157, 161, 165, 169};
    const QList<int> eightKLogins{8, 57, 61, 65, 69, 157, 161, 165, 169};
    const QList<int> wLogins{8, 18};
    // clang-format off
    QTest::newRow("olg1n")      << 0 << 0x01010100u << QByteArray("olg1n") << 38  << 72  << QList<int>{8, 18, 41} << 1 << 0;
    QTest::newRow("olg4a")      << 1 << 0x04000100u << QByteArray("olg4a") << 50  << 85  << fourLogins           << 1 << 0;
    QTest::newRow("olg4n")      << 2 << 0x04010100u << QByteArray("olg4n") << 78  << 85  << fourLogins           << 1 << 0;
    QTest::newRow("olg8a")      << 3 << 0x08000100u << QByteArray("olg8a") << 249 << 489 << Olg8aLogins()        << 1 << 0;
    QTest::newRow("olg8n")      << 4 << 0x08010100u << QByteArray("olg8n") << 130 << 175 << eightNLogins         << 1 << 0;
    QTest::newRow("olg8k")      << 5 << 0x08020100u << QByteArray("olg8k") << 62  << 171 << eightKLogins         << 1 << 0;
    QTest::newRow("olg8w 4030100") << 6 << 0x04030100u << QByteArray("olg8w") << 18 << 19 << wLogins << 0 << 1;
    QTest::newRow("olg8w 8030100") << 7 << 0x08030100u << QByteArray("olg8w") << 18 << 19 << wLogins << 0 << 1;
    QTest::newRow("olg8w 8030000") << 8 << 0x08030000u << QByteArray("olg8w") << 18 << 19 << wLogins << 2 << 1;
    QTest::newRow("olg8w 4030200") << 9 << 0x04030200u << QByteArray("olg8w") << 18 << 19 << wLogins << 2 << 1;
    QTest::newRow("olg8w 8030200") << 10 << 0x08030200u << QByteArray("olg8w") << 18 << 19 << wLogins << 2 << 1;
    // clang-format on
}

void TestCatalogue::registeredTypes() {
    QFETCH(int, index);
    QFETCH(quint32, typeCode);
    QFETCH(QByteArray, model);
    QFETCH(int, count);
    QFETCH(int, maxId);
    QFETCH(QList<int>, logins);
    QFETCH(int, webScheme);
    QFETCH(int, adminPage);

    const DeviceRegistry registry = StandardRegistry();
    QCOMPARE(registry.Count(), 11);
    const ParamValue type = Code(typeCode);
    QCOMPARE(registry.FindDeviceType(type), index);
    const TConfigDevice& entry = registry.Entry(index);
    QCOMPARE(entry.TypeCode, typeCode);
    QCOMPARE(QByteArray::fromStdString(entry.Model), model);
    QCOMPARE(int(entry.WebScheme), webScheme);
    QCOMPARE(int(entry.HasAdminPage), adminPage);
    QCOMPARE(int(entry.Params.size()), count);
    QCOMPARE(int(registry.MaxParamId(type)), maxId);

    // The login ids in table order, which is the order the dialog compares them in: ascending.
    QList<int> tableLogins;
    std::set<int> ids;
    for (const ParamDescriptor& descriptor : entry.Params) {
        QVERIFY2(ids.insert(descriptor.Id).second, QByteArray::number(descriptor.Id).constData());
        QVERIFY(descriptor.Id >= 1 && descriptor.Id <= maxId);
        QCOMPARE(int(descriptor.Spare), 0);
        QVERIFY(descriptor.Kind >= KindIp && descriptor.Kind <= KindSix);
        QVERIFY(descriptor.Access != AccessWriteOnly);
        // The tables agree with the built-in kinds wherever they list a built-in id.
        if (BuiltInKind(descriptor.Id) != KindNone)
            QCOMPARE(int(descriptor.Kind), int(BuiltInKind(descriptor.Id)));
        if (descriptor.Kind == KindSix)
            QCOMPARE(int(descriptor.Access), int(AccessRead));
        if (descriptor.Access == AccessLogin)
            tableLogins << descriptor.Id;
    }
    QCOMPARE(tableLogins, logins);

    // General ids: the common block's network settings, plus the DNS servers of olg8w.
    QList<int> general{1, 2, 3, 4, 5, 6, 7, 12, 13};
    if (model == "olg8w")
        general << 14 << 15;
    QList<int> queriedGeneral;
    for (int id = 0; id <= 1000; ++id) {
        if (registry.IsGeneralParam(id, type))
            queriedGeneral << id;
        QCOMPARE(registry.HasParam(id, type), ids.count(id) == 1);
    }
    QCOMPARE(queriedGeneral, general);

    // Common to every model.
    QCOMPARE(int(registry.ParamKind(2, type)), int(KindIp));
    QCOMPARE(int(registry.ParamKind(8, type)), int(KindText));
    QCOMPARE(int(registry.ParamKind(10, type)), int(KindSix));
    QCOMPARE(int(registry.ParamKind(13, type)), int(KindU32));
    QCOMPARE(int(registry.ParamKind(14, type)), int(KindIp));
    QCOMPARE(int(registry.ParamAccess(5, type)), int(AccessRead));
    QCOMPARE(int(registry.ParamAccess(8, type)), int(AccessLogin));
    QCOMPARE(int(registry.ParamAccess(13, type)), int(AccessRead));
    QVERIFY(!registry.HasParam(16, type));
    QCOMPARE(int(registry.ParamKind(16, type)), int(KindNone));
    QCOMPARE(int(registry.ParamKind(maxId + 1, type)), int(KindNone));
}

// Kind, access and general flag of single ids, where the models differ.
void TestCatalogue::descriptors_data() {
    QTest::addColumn<quint32>("typeCode");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("access");
    QTest::addColumn<bool>("general");

    const quint32 olg1n = 0x01010100, olg4a = 0x04000100, olg4n = 0x04010100, olg8a = 0x08000100,
                  olg8n = 0x08010100, olg8k = 0x08020100, olg8w = 0x08030200;
    // clang-format off
    QTest::newRow("olg1n supervision address")  << olg1n << 20  << 1 << 2 << false;
    QTest::newRow("olg1n supervision flags")    << olg1n << 21  << 3 << 2 << false;
    QTest::newRow("olg1n supervision delay")    << olg1n << 26  << 4 << 2 << false;
    QTest::newRow("olg1n last mask address")    << olg1n << 36  << 1 << 2 << false;
    QTest::newRow("olg1n last mask flags")      << olg1n << 37  << 3 << 2 << false;
    QTest::newRow("olg1n gap after masks")      << olg1n << 38  << 0 << 0 << false;
    QTest::newRow("olg1n socket name")          << olg1n << 40  << 2 << 2 << false;
    QTest::newRow("olg1n user password")        << olg1n << 42  << 2 << 2 << false;
    QTest::newRow("olg1n restart delay")        << olg1n << 50  << 3 << 2 << false;
    QTest::newRow("olg1n power-up state")       << olg1n << 70  << 3 << 2 << false;
    QTest::newRow("olg1n switchings")           << olg1n << 72  << 5 << 0 << false;
    QTest::newRow("olg4a hidden page url")      << olg4a << 17  << 2 << 2 << false;
    QTest::newRow("olg4a mask 4 flags")         << olg4a << 27  << 3 << 2 << false;
    QTest::newRow("olg4a no supervision")       << olg4a << 28  << 0 << 0 << false;
    QTest::newRow("olg4a authorized sockets 4") << olg4a << 71  << 3 << 2 << false;
    QTest::newRow("olg4a power-up state U8")    << olg4a << 80  << 3 << 2 << false;
    QTest::newRow("olg4a gap before state")     << olg4a << 79  << 0 << 0 << false;
    QTest::newRow("olg4a switchings 4")         << olg4a << 85  << 5 << 0 << false;
    QTest::newRow("olg4n supervision 1")        << olg4n << 28  << 1 << 2 << false;
    QTest::newRow("olg4n supervision 4 delay")  << olg4n << 55  << 4 << 2 << false;
    QTest::newRow("olg8a restart delay")        << olg8a << 36  << 3 << 2 << false;
    QTest::newRow("olg8a mail recipient")       << olg8a << 37  << 2 << 2 << false;
    QTest::newRow("olg8a gap 38")               << olg8a << 38  << 0 << 0 << false;
    QTest::newRow("olg8a device 1 name")        << olg8a << 39  << 2 << 2 << false;
    QTest::newRow("olg8a device 1 accounts")    << olg8a << 40  << 3 << 2 << false;
    QTest::newRow("olg8a device 1 socket 8")    << olg8a << 69  << 2 << 2 << false;
    QTest::newRow("olg8a device 1 sockets 8")   << olg8a << 72  << 3 << 2 << false;
    QTest::newRow("olg8a gap 73")               << olg8a << 73  << 0 << 0 << false;
    QTest::newRow("olg8a device 1 power-ups")   << olg8a << 81  << 5 << 0 << false;
    QTest::newRow("olg8a gap 90")               << olg8a << 90  << 0 << 0 << false;
    QTest::newRow("olg8a gap 138")              << olg8a << 138 << 0 << 0 << false;
    QTest::newRow("olg8a device 2 name")        << olg8a << 139 << 2 << 2 << false;
    QTest::newRow("olg8a device 5 login 8")     << olg8a << 470 << 2 << 3 << false;
    QTest::newRow("olg8a device 5 switchings")  << olg8a << 489 << 5 << 0 << false;
    QTest::newRow("olg8n power-up state U16")   << olg8n << 80  << 4 << 2 << false;
    QTest::newRow("olg8n switchings 8")         << olg8n << 89  << 5 << 0 << false;
    QTest::newRow("olg8n supervision 5")        << olg8n << 128 << 1 << 2 << false;
    QTest::newRow("olg8n supervision 8 delay")  << olg8n << 155 << 4 << 2 << false;
    QTest::newRow("olg8n socket 5 name")        << olg8n << 156 << 2 << 2 << false;
    QTest::newRow("olg8n restart delay 8")      << olg8n << 175 << 3 << 2 << false;
    QTest::newRow("olg8k no hidden page")       << olg8k << 17  << 0 << 0 << false;
    QTest::newRow("olg8k no hidden login")      << olg8k << 18  << 0 << 0 << false;
    QTest::newRow("olg8k no delays")            << olg8k << 72  << 0 << 0 << false;
    QTest::newRow("olg8k no power-up state")    << olg8k << 80  << 0 << 0 << false;
    QTest::newRow("olg8k switchings 8")         << olg8k << 89  << 5 << 0 << false;
    QTest::newRow("olg8k socket 8 sockets")     << olg8k << 171 << 3 << 2 << false;
    QTest::newRow("olg8w dns 1")                << olg8w << 14  << 1 << 2 << true;
    QTest::newRow("olg8w dns 2")                << olg8w << 15  << 1 << 2 << true;
    QTest::newRow("olg8w hidden password")      << olg8w << 19  << 2 << 2 << false;
    QTest::newRow("olg1n dns is built in only") << olg1n << 14  << 1 << 0 << false;
    QTest::newRow("olg1n type code")            << olg1n << 13  << 5 << 0 << true;
    QTest::newRow("olg1n flags")                << olg1n << 6   << 3 << 2 << true;
    QTest::newRow("olg1n version")              << olg1n << 12  << 2 << 0 << true;
    QTest::newRow("olg1n hidden text")          << olg1n << 11  << 2 << 0 << false;
    QTest::newRow("olg1n admin password")       << olg1n << 9   << 2 << 2 << false;
    QTest::newRow("olg1n id 0")                 << olg1n << 0   << 0 << 0 << false;
    QTest::newRow("olg1n id 999")               << olg1n << 999 << 0 << 0 << false;
    QTest::newRow("olg1n id 65535")             << olg1n << 65535 << 0 << 0 << false;
    QTest::newRow("olg1n negative id")          << olg1n << -1  << 0 << 0 << false;
    // clang-format on
}

void TestCatalogue::descriptors() {
    QFETCH(quint32, typeCode);
    QFETCH(int, id);
    QFETCH(int, kind);
    QFETCH(int, access);
    QFETCH(bool, general);

    const DeviceRegistry registry = StandardRegistry();
    const ParamValue type = Code(typeCode);
    QCOMPARE(int(registry.ParamKind(id, type)), kind);
    QCOMPARE(int(registry.ParamAccess(id, type)), access);
    QCOMPARE(registry.IsGeneralParam(id, type), general);
}

// A type value that names no entry: built-in kinds only, every other answer its default.
void TestCatalogue::unregisteredType_data() {
    QTest::addColumn<int>("kind"); // 0 empty, 1 integer, 2 text
    QTest::addColumn<qint64>("value");

    QTest::newRow("empty") << 0 << qint64(0);
    QTest::newRow("zero") << 1 << qint64(0);
    QTest::newRow("unknown code") << 1 << qint64(0x01010101);
    // A known code beyond 32 bits must not match by its low bits.
    QTest::newRow("beyond 32 bits") << 1 << qint64(0x101010100);
    QTest::newRow("text of a known code") << 2 << qint64(0x01010100);
}

void TestCatalogue::unregisteredType() {
    QFETCH(int, kind);
    QFETCH(qint64, value);

    const ParamValue type = kind == 0   ? ParamValue()
                            : kind == 1 ? ParamValue::Integer(value)
                                        : ParamValue::Text(std::to_string(value));
    const DeviceRegistry registry = StandardRegistry();
    QCOMPARE(registry.FindDeviceType(type), -1);
    QCOMPARE(int(registry.MaxParamId(type)), 0);
    const std::uint8_t builtIn[] = {0, 1, 1, 1, 4, 2, 3, 2, 0, 0, 0, 0, 2, 5, 1, 1, 0, 0};
    for (int id = 0; id < int(sizeof builtIn); ++id)
        QCOMPARE(int(registry.ParamKind(id, type)), int(builtIn[id]));
    for (int id = 1; id <= 20; ++id) {
        QCOMPARE(int(registry.ParamAccess(id, type)), 0);
        QVERIFY(!registry.IsGeneralParam(id, type));
        QVERIFY(!registry.HasParam(id, type));
    }
}

// Registration rules that the standard registry cannot show: first match wins, tables are copied,
// bit 7 of a kind carries no meaning, type codes compare as unsigned 32-bit numbers.
void TestCatalogue::customRegistry() {
    TConfigFile table{{20, AccessReadWrite, KindU16, 0, 0},
                      {20, AccessRead, KindText, 1, 0},
                      {30, AccessReadWrite, static_cast<std::uint8_t>(0x80 | KindU8), 0, 0},
                      {2, AccessReadWrite, KindText, 1, 0}};
    DeviceRegistry registry;
    QCOMPARE(registry.FindDeviceType(Code(0)), -1);
    registry.RegisterDeviceType(0x80000001u, table, WebSchemeHttp, 0, "high");
    registry.RegisterDeviceType(0x80000001u, {{40, AccessReadWrite, KindU8, 0, 0}}, WebSchemeHttp, 0, "dup");
    registry.RegisterDeviceType(0x00000005u, {}, WebSchemeHttp, 0, "empty");
    table.clear();

    // The wire keeps the code as a signed bit pattern; both forms name the entry.
    const ParamValue high = Code(static_cast<std::int32_t>(0x80000001u));
    QCOMPARE(registry.FindDeviceType(high), 0);
    QCOMPARE(registry.FindDeviceType(Code(0x80000001LL)), 0);
    QCOMPARE(int(registry.Entry(0).Params.size()), 4);
    QCOMPARE(int(registry.ParamKind(20, high)), int(KindU16));
    QCOMPARE(int(registry.ParamAccess(20, high)), int(AccessReadWrite));
    QVERIFY(!registry.IsGeneralParam(20, high));
    QCOMPARE(int(registry.ParamKind(30, high)), int(KindU8));
    QVERIFY(!registry.HasParam(40, high));
    // The built-in kind wins over the table.
    QCOMPARE(int(registry.ParamKind(2, high)), int(KindIp));
    QVERIFY(registry.IsGeneralParam(2, high));
    QCOMPARE(int(registry.MaxParamId(high)), 30);

    const ParamValue empty = Code(5);
    QCOMPARE(registry.FindDeviceType(empty), 2);
    QCOMPARE(int(registry.MaxParamId(empty)), 0);
    QVERIFY(!registry.HasParam(1, empty));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
