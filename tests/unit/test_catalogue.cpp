// The parameter tables of every registered type and the queries over them.

#include "Catalogue.h"
#include "DeviceRegistry.h"
#include "ModelDescription.h"

#include <QList>
#include <QTest>

#include <map>
#include <set>

using namespace olg;

namespace {

ParamValue Code(std::int64_t code) {
    return ParamValue::Integer(code);
}

// The parameter tables of the seven models, written out row by row: "IDS KINDS ACCESS [G]", rows
// separated by ";". IDS is one id or a range a-b; KINDS (IP, T, U8, U16, U32, SIX) and ACCESS (R, RW, RWL)
// are one value for the whole range or a cycle a/b/... over its ids; G marks the general settings.
const char* const Common =
    "1-3 IP RW G; 4 U16 RW G; 5 T R G; 6 U8 RW G; 7 T RW G; 8 T RWL; 9 T RW; 10 SIX R; "
    "11 T R; 12 T R G; 13 U32 R G;";
const char* const HiddenPage = "17-19 T RW/RWL/RW;";
const char* const Supervision1to4 = "28 IP RW; 29 U8 RW; 30-34 U16 RW; 35 IP RW; 36 U8 RW; 37-41 U16 RW; "
                                    "42 IP RW; 43 U8 RW; 44-48 U16 RW; 49 IP RW; 50 U8 RW; 51-55 U16 RW;";
const char* const Sockets1to4 = "56-71 T/T/T/U8 RW/RWL/RW/RW;";

const QByteArray Olg1n =
    QByteArray(Common) + HiddenPage +
    "20 IP RW; 21 U8 RW; 22-26 U16 RW; 30-37 IP/U8 RW; 40 T RW; 41 T RWL; 42 T RW; 50 U8 RW; "
    "70 U8 RW; 71-72 U32 R";
const QByteArray Olg4a = QByteArray(Common) + HiddenPage + "20-27 IP/U8 RW;" + Sockets1to4 +
                         "72-75 U8 RW; 80 U8 RW; 81 U32 R; 82-85 U32 R";
const QByteArray Olg4n = Olg4a + ";" + Supervision1to4;
const QByteArray Olg8a = QByteArray(Common) + HiddenPage +
                         "20-35 IP/U8 RW; 36 U8 RW; 37 T RW;"
                         "39 T RW; 40 U8 RW; 41-72 T/T/T/U8 RW/RWL/RW/RW; 81-89 U32 R;"
                         "139 T RW; 140 U8 RW; 141-172 T/T/T/U8 RW/RWL/RW/RW; 181-189 U32 R;"
                         "239 T RW; 240 U8 RW; 241-272 T/T/T/U8 RW/RWL/RW/RW; 281-289 U32 R;"
                         "339 T RW; 340 U8 RW; 341-372 T/T/T/U8 RW/RWL/RW/RW; 381-389 U32 R;"
                         "439 T RW; 440 U8 RW; 441-472 T/T/T/U8 RW/RWL/RW/RW; 481-489 U32 R";
const QByteArray Olg8n = QByteArray(Common) + HiddenPage + "20-27 IP/U8 RW;" + Supervision1to4 + Sockets1to4 +
                         "72-75 U8 RW; 80 U16 RW; 81 U32 R; 82-89 U32 R;"
                         "128 IP RW; 129 U8 RW; 130-134 U16 RW; 135 IP RW; 136 U8 RW; 137-141 U16 RW;"
                         "142 IP RW; 143 U8 RW; 144-148 U16 RW; 149 IP RW; 150 U8 RW; 151-155 U16 RW;"
                         "156-171 T/T/T/U8 RW/RWL/RW/RW; 172-175 U8 RW";
const QByteArray Olg8k = QByteArray(Common) + "20-27 IP/U8 RW;" + Sockets1to4 +
                         "156-171 T/T/T/U8 RW/RWL/RW/RW; 81 U32 R; 82-89 U32 R";
const QByteArray Olg8w = QByteArray(Common) + "14-15 IP RW G;" + HiddenPage;

// One line "id kind access general" per descriptor, in id order.
QStringList Expand(const QByteArray& table) {
    static const QByteArrayList kinds{"", "IP", "T", "U8", "U16", "U32", "SIX"};
    static const QByteArrayList access{"R", "", "RW", "RWL"};
    std::map<int, QString> lines;
    for (const QByteArray& row : table.split(';')) {
        const QByteArrayList fields = row.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QByteArrayList ids = fields.at(0).split('-');
        const QByteArrayList rowKinds = fields.at(1).split('/');
        const QByteArrayList rowAccess = fields.at(2).split('/');
        const bool general = fields.size() > 3 && fields.at(3) == "G";
        for (int id = ids.front().toInt(), n = 0; id <= ids.back().toInt(); ++id, ++n) {
            const qsizetype kind = kinds.indexOf(rowKinds.at(n % rowKinds.size()));
            const qsizetype acc = access.indexOf(rowAccess.at(n % rowAccess.size()));
            if (kind <= 0 || acc < 0 || acc == 1 || lines.count(id) != 0)
                return {QStringLiteral("bad row: ") + QString::fromLatin1(row)};
            lines[id] = QStringLiteral("%1 %2 %3 %4").arg(id).arg(kind).arg(acc).arg(general ? 1 : 0);
        }
    }
    QStringList expanded;
    for (const auto& entry : lines)
        expanded.append(entry.second);
    return expanded;
}

QStringList Lines(const TConfigFile& table) {
    std::map<int, QString> lines;
    for (const ParamDescriptor& d : table)
        lines.emplace(d.Id, QStringLiteral("%1 %2 %3 %4").arg(d.Id).arg(d.Kind).arg(d.Access).arg(d.General));
    QStringList sorted;
    for (const auto& entry : lines)
        sorted.append(entry.second);
    return sorted;
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
    void descriptionsNameTheirTables_data();
    void descriptionsNameTheirTables();
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
    QTest::addColumn<QByteArray>("table");

    const QList<int> fourLogins{8, 18, 57, 61, 65, 69};
    const QList<int> eightNLogins{8, 18, 57, 61, 65, 69, 157, 161, 165, 169};
    const QList<int> eightKLogins{8, 57, 61, 65, 69, 157, 161, 165, 169};
    const QList<int> wLogins{8, 18};
    // clang-format off
    QTest::newRow("olg1n")      << 0 << 0x01010100u << QByteArray("olg1n") << 38  << 72  << QList<int>{8, 18, 41} << 1 << 0 << Olg1n;
    QTest::newRow("olg4a")      << 1 << 0x04000100u << QByteArray("olg4a") << 50  << 85  << fourLogins           << 1 << 0 << Olg4a;
    QTest::newRow("olg4n")      << 2 << 0x04010100u << QByteArray("olg4n") << 78  << 85  << fourLogins           << 1 << 0 << Olg4n;
    QTest::newRow("olg8a")      << 3 << 0x08000100u << QByteArray("olg8a") << 249 << 489 << Olg8aLogins()        << 1 << 0 << Olg8a;
    QTest::newRow("olg8n")      << 4 << 0x08010100u << QByteArray("olg8n") << 130 << 175 << eightNLogins         << 1 << 0 << Olg8n;
    QTest::newRow("olg8k")      << 5 << 0x08020100u << QByteArray("olg8k") << 62  << 171 << eightKLogins         << 1 << 0 << Olg8k;
    QTest::newRow("olg8w 4030100") << 6 << 0x04030100u << QByteArray("olg8w") << 18 << 19 << wLogins << 0 << 1 << Olg8w;
    QTest::newRow("olg8w 8030100") << 7 << 0x08030100u << QByteArray("olg8w") << 18 << 19 << wLogins << 0 << 1 << Olg8w;
    QTest::newRow("olg8w 8030000") << 8 << 0x08030000u << QByteArray("olg8w") << 18 << 19 << wLogins << 2 << 1 << Olg8w;
    QTest::newRow("olg8w 4030200") << 9 << 0x04030200u << QByteArray("olg8w") << 18 << 19 << wLogins << 2 << 1 << Olg8w;
    QTest::newRow("olg8w 8030200") << 10 << 0x08030200u << QByteArray("olg8w") << 18 << 19 << wLogins << 2 << 1 << Olg8w;
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
    QFETCH(QByteArray, table);

    const DeviceRegistry registry = StandardRegistry();
    QCOMPARE(registry.Count(), 11);
    const ParamValue type = Code(typeCode);
    QCOMPARE(registry.FindDeviceType(type), index);
    const TConfigDevice& entry = registry.Entry(index);
    QCOMPARE(entry.TypeCode, typeCode);
    QCOMPARE(QByteArray::fromStdString(entry.Model), model);
    QCOMPARE(int(entry.WebScheme), webScheme);
    QCOMPARE(int(entry.HasAdminPage), adminPage);
    // The whole table, every id with its kind, access and general flag.
    const QStringList expected = Expand(table);
    QCOMPARE(int(expected.size()), count);
    QCOMPARE(Lines(entry.Params), expected);
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

// The queries beyond the table: built-in kinds of ids a table lacks, ids outside every table.
void TestCatalogue::descriptors_data() {
    QTest::addColumn<quint32>("typeCode");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("access");
    QTest::addColumn<bool>("general");

    const quint32 olg1n = 0x01010100;
    // clang-format off
    QTest::newRow("olg1n dns is built in only") << olg1n << 14    << 1 << 0 << false;
    QTest::newRow("olg1n id 0")                 << olg1n << 0     << 0 << 0 << false;
    QTest::newRow("olg1n id 999")               << olg1n << 999   << 0 << 0 << false;
    QTest::newRow("olg1n id 65535")             << olg1n << 65535 << 0 << 0 << false;
    QTest::newRow("olg1n negative id")          << olg1n << -1    << 0 << 0 << false;
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

// Every id that a model's pages and form blocks bind lies in the model's table with the kind they expect.
void TestCatalogue::descriptionsNameTheirTables_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(ModelDescriptions().size()); ++i)
        QTest::newRow(ModelDescriptions()[std::size_t(i)].Model.c_str()) << i;
}

void TestCatalogue::descriptionsNameTheirTables() {
    QFETCH(int, index);
    const ModelDescription& model = ModelDescriptions()[std::size_t(index)];
    std::map<int, int> kinds;
    for (const ParamDescriptor& d : model.Params)
        kinds.emplace(d.Id, d.Kind);
    std::vector<std::pair<int, int>> named; // id, kind
    auto name = [&named](int id, int kind, int count = 1) {
        for (int i = 0; i < count; ++i)
            named.emplace_back(id + i, kind);
    };
    for (const ModelPage& page : model.Pages) {
        std::visit(Overloaded{[&](const SecurityArguments& a) {
                                  for (int r = 0; r < a.MaskCount; ++r) {
                                      name(a.AddressId(r), KindIp);
                                      name(a.FlagsId(r), KindU8);
                                  }
                              },
                              [&](const SupervArguments& a) {
                                  name(a.AddressId(), KindIp);
                                  name(a.MethodId(), KindU8);
                                  name(a.PortId(), KindU16, a.RebootDelayId() - a.PortId() + 1);
                              },
                              [&](const MiscArguments& a) {
                                  name(a.PowerUpId(), KindU32);
                                  name(a.SwitchingId(0), KindU32, a.Sockets);
                              },
                              [&](const LabArguments& a) {
                                  name(a.DeviceNameId(), KindText);
                                  for (int r = 0; r < a.Sockets; ++r)
                                      name(a.SocketNameId(r), KindText);
                              },
                              [&](const RackArguments& a) {
                                  if (a.MemberFlagsId() != 0)
                                      name(a.MemberFlagsId(), KindU8);
                                  for (int r = 0; r < 8; ++r) {
                                      name(a.LoginId(r), KindText, 2); // login, password
                                      name(a.LoginId(r) + 2, KindU8);  // authorized sockets
                                  }
                              },
                              [&](const HiddenArguments&) { name(param::HiddenPageUrl, KindText, 3); }},
                   page.Arguments);
    }
    for (const int id : model.FormSocketBlocks)
        name(id, KindText);
    for (const int id : model.RestartDelayIds)
        name(id, KindU8);
    if (model.PowerUpStateId != 0)
        QVERIFY(kinds[model.PowerUpStateId] == KindU8 || kinds[model.PowerUpStateId] == KindU16);
    for (const auto& [id, kind] : named)
        QVERIFY2(kinds.count(id) == 1 && kinds[id] == kind, QByteArray::number(id).constData());
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
