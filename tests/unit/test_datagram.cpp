// Request datagrams: header, identities, items, and the split of reads and writes into datagrams.

#include "Datagram.h"
#include "SplitRequest.h"
#include "TestBytes.h"

#include <QList>
#include <QTest>

using namespace olg;
using testbytes::Dump;
using testbytes::Hex;
using testbytes::ToBytes;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;
constexpr std::uint32_t Olg4n = 0x04010100;
constexpr std::uint32_t Olg8a = 0x08000100;
constexpr std::uint32_t Olg8w = 0x08030200;

const DeviceIdentity DeviceId{0x00, 0x01, 0x00, 0x0A, 0x95, 0x9D, 0x68, 0x16};

TOLG Record(std::uint32_t typeCode) {
    TOLG record;
    record.Identity = DeviceId;
    record.SetValue(13, ParamValue::Integer(typeCode));
    return record;
}

// Request header to the test device with this command and the default distributor code.
QByteArray Header(std::uint8_t command) {
    return Hex("00 01 00 0A 95 9D 68 16  00 00 00 00 00 00 00 00  00 01  25 13  00 00 00 00") + char(command);
}

struct Item {
    int Id;
    QByteArray Value;
};

// Walks the items of a request from the header on. Fails the test on a malformed list; `ended` tells
// whether the walk stopped at an end marker that closes the datagram.
bool Items(const QByteArray& datagram, QList<Item>& items, bool& ended) {
    items.clear();
    ended = false;
    qsizetype p = 25;
    while (p < datagram.size()) {
        if (p + 2 > datagram.size())
            return false;
        const int id = (quint8(datagram[p]) << 8) | quint8(datagram[p + 1]);
        if (id == 0xFFFF) {
            ended = p + 2 == datagram.size();
            return ended;
        }
        if (p + 3 > datagram.size())
            return false;
        const int n = quint8(datagram[p + 2]);
        if (p + 3 + n > datagram.size())
            return false;
        items.append({id, datagram.mid(p + 3, n)});
        p += 3 + n;
    }
    return true;
}

QByteArray BigEndian(quint64 value, int length) {
    QByteArray bytes;
    for (int i = length - 1; i >= 0; --i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

class TestDatagram : public QObject {
    Q_OBJECT

private slots:
    void discoveryRequest_data();
    void discoveryRequest();
    void header();
    void identities_data();
    void identities();
    void upgradeRequest_data();
    void upgradeRequest();
    void writeItem_data();
    void writeItem();
    void readItem_data();
    void readItem();
    void generalWrite();
    void readOfOneDatagram();
    void unregisteredType_data();
    void unregisteredType();
    void fullWriteOfGroup();
    void fullReadOfGroup();
    void emptyRange_data();
    void emptyRange();
    void textTooLong_data();
    void textTooLong();
};

void TestDatagram::discoveryRequest_data() {
    QTest::addColumn<int>("distributor");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray items = Hex("00 01 00 00 02 00 00 03 00 00 04 00 00 05 00 00 07 00 00 06 00 00 0D 00"
                                 "00 0C 00 00 0E 00 00 0F 00 FF FF");
    const QByteArray head = Hex("00 01 FF FF FF FF FF FF 00 00 00 00 00 00 00 00 00 01");
    const QByteArray tail = Hex("00 00 00 00 01") + items;
    QTest::newRow("0x1325") << 0x1325 << head + Hex("25 13") + tail;
    QTest::newRow("0x1525") << 0x1525 << head + Hex("25 15") + tail;
    QTest::newRow("0x1725") << 0x1725 << head + Hex("25 17") + tail;
}

void TestDatagram::discoveryRequest() {
    QFETCH(int, distributor);
    QFETCH(QByteArray, expected);

    const QByteArray request = ToBytes(BuildDiscoveryRequest(static_cast<std::uint16_t>(distributor)));
    QCOMPARE(request.size(), 60);
    QCOMPARE(Dump(request), Dump(expected));
}

void TestDatagram::header() {
    TSendBuf buffer{1, 2, 3};
    BuildHeader(buffer, CommandWrite, &DeviceId, DefaultDistributorCode);
    QCOMPARE(Dump(ToBytes(buffer)), Dump(Header(2) + Hex("FF FF")));

    BuildHeader(buffer, CommandRead, nullptr, 0xA1B2);
    QCOMPARE(Dump(ToBytes(buffer)),
             Dump(Hex("00 01 FF FF FF FF FF FF 00 00 00 00 00 00 00 00 00 01 B2 A1 00 00 00 00 01 FF FF")));

    // Appending replaces the end marker and grows the buffer by the item's size.
    const std::uint8_t value[] = {0xAB, 0x00};
    AppendItem(buffer, 0x3E7, value, 2);
    AppendItem(buffer, 17, nullptr, 0);
    QCOMPARE(Dump(ToBytes(buffer).mid(25)), Dump(Hex("03 E7 02 AB 00 00 11 00 FF FF")));
}

void TestDatagram::identities_data() {
    QTest::addColumn<bool>("isAddress");
    QTest::addColumn<qulonglong>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("address 192.168.1.10") << true << 0xC0A8010AULL << Hex("00 02 C0 A8 01 0A CC A5");
    QTest::newRow("address 0.0.0.0") << true << 0ULL << Hex("00 02 00 00 00 00 CC A5");
    QTest::newRow("address 255.255.255.255") << true << 0xFFFFFFFFULL << Hex("00 02 FF FF FF FF CC A5");
    QTest::newRow("mac 00.0A.95.9D.68.16") << false << 0x000A959D6816ULL << Hex("00 01 00 0A 95 9D 68 16");
    QTest::newRow("mac FE.DC.BA.98.76.54") << false << 0xFEDCBA987654ULL << Hex("00 01 FE DC BA 98 76 54");
}

void TestDatagram::identities() {
    QFETCH(bool, isAddress);
    QFETCH(qulonglong, value);
    QFETCH(QByteArray, expected);

    const DeviceIdentity identity =
        isAddress ? AddressIdentity(static_cast<std::uint32_t>(value)) : MacIdentity(value);
    QCOMPARE(Dump(ToBytes(identity)), Dump(expected));
}

void TestDatagram::upgradeRequest_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("distributor");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("image")
        << 3 << 0x1325
        << Hex("00 02 C0 A8 01 0A CC A5 00 00 00 00 00 00 00 00 00 01 25 13 00 00 00 00 03 FF FF");
    QTest::newRow("file set")
        << 4 << 0x1625
        << Hex("00 02 C0 A8 01 0A CC A5 00 00 00 00 00 00 00 00 00 01 25 16 00 00 00 00 04 FF FF");
}

void TestDatagram::upgradeRequest() {
    QFETCH(int, command);
    QFETCH(int, distributor);
    QFETCH(QByteArray, expected);

    const TSendBuf request = BuildUpgradeRequest(static_cast<std::uint8_t>(command), 0xC0A8010A,
                                                 static_cast<std::uint16_t>(distributor));
    QCOMPARE(Dump(ToBytes(request)), Dump(expected));
}

// One item of a write: encoded by the kind the device's table gives, or left out.
void TestDatagram::writeItem_data() {
    QTest::addColumn<quint32>("typeCode");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("valueKind"); // 0 empty, 1 integer, 2 text
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected"); // the item, or empty when left out

    // clang-format off
    QTest::newRow("ip from bit pattern")   << Olg4n << 2  << 1 << qint64(qint32(0xC0A8010A)) << QByteArray() << Hex("00 02 04 C0 A8 01 0A");
    QTest::newRow("ip from number")        << Olg4n << 1  << 1 << qint64(0xFFFFFF00)         << QByteArray() << Hex("00 01 04 FF FF FF 00");
    QTest::newRow("ip empty")              << Olg4n << 3  << 0 << qint64(0)                  << QByteArray() << Hex("00 03 04 00 00 00 00");
    QTest::newRow("u16")                   << Olg4n << 4  << 1 << qint64(8080)               << QByteArray() << Hex("00 04 02 1F 90");
    QTest::newRow("u16 low bits")          << Olg4n << 4  << 1 << qint64(0x12345)            << QByteArray() << Hex("00 04 02 23 45");
    QTest::newRow("u8")                    << Olg4n << 6  << 1 << qint64(0x91)               << QByteArray() << Hex("00 06 01 91");
    QTest::newRow("u8 low bits")           << Olg4n << 6  << 1 << qint64(-1)                 << QByteArray() << Hex("00 06 01 FF");
    QTest::newRow("u8 empty")              << Olg4n << 80 << 0 << qint64(0)                  << QByteArray() << Hex("00 50 01 00");
    QTest::newRow("text")                  << Olg4n << 7  << 2 << qint64(0)                  << QByteArray("Rack A") << Hex("00 07 06 52 61 63 6B 20 41");
    QTest::newRow("text bytes kept")       << Olg4n << 56 << 2 << qint64(0)                  << Hex("00 FF E9 0D") << Hex("00 38 04 00 FF E9 0D");
    QTest::newRow("text empty")            << Olg4n << 57 << 0 << qint64(0)                  << QByteArray() << Hex("00 39 00");
    QTest::newRow("text of 255 bytes")     << Olg4n << 9  << 2 << qint64(0)                  << QByteArray(255, 'x') << Hex("00 09 FF") + QByteArray(255, 'x');
    QTest::newRow("u32 on olg8a")          << Olg8a << 14 << 1 << qint64(1)                  << QByteArray() << QByteArray();
    QTest::newRow("dns on olg8w")          << Olg8w << 14 << 1 << qint64(0x08080808)         << QByteArray() << Hex("00 0E 04 08 08 08 08");
    QTest::newRow("dns not in olg1n")      << Olg1n << 14 << 1 << qint64(0x08080808)         << QByteArray() << QByteArray();
    QTest::newRow("model name read-only")  << Olg4n << 5  << 2 << qint64(0)                  << QByteArray("olg4n") << QByteArray();
    QTest::newRow("type code read-only")   << Olg4n << 13 << 1 << qint64(Olg4n)              << QByteArray() << QByteArray();
    QTest::newRow("six-byte never written") << Olg4n << 10 << 1 << qint64(1)                 << QByteArray() << QByteArray();
    QTest::newRow("counter read-only")     << Olg4n << 81 << 1 << qint64(7)                  << QByteArray() << QByteArray();
    QTest::newRow("id not listed")         << Olg4n << 16 << 1 << qint64(7)                  << QByteArray() << QByteArray();
    QTest::newRow("unregistered type")     << 0x01020304u << 2 << 1 << qint64(1)             << QByteArray() << QByteArray();
    // clang-format on
}

void TestDatagram::writeItem() {
    QFETCH(quint32, typeCode);
    QFETCH(int, id);
    QFETCH(int, valueKind);
    QFETCH(qint64, number);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);

    const DeviceRegistry registry = StandardRegistry();
    TOLG record = Record(typeCode);
    if (valueKind == 1)
        record.SetValue(id, ParamValue::Integer(number));
    else if (valueKind == 2)
        record.SetValue(id, ParamValue::Text(text.toStdString()));

    TSendBuf buffer;
    BuildHeader(buffer, CommandWrite, &record.Identity, DefaultDistributorCode);
    const WriteItemResult result = AddWriteItem(buffer, id, record, registry);
    QCOMPARE(result, expected.isEmpty() ? WriteItemResult::Skipped : WriteItemResult::Added);
    QCOMPARE(Dump(ToBytes(buffer)), Dump(Header(2) + expected + Hex("FF FF")));
}

void TestDatagram::readItem_data() {
    QTest::addColumn<quint32>("typeCode");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("added");

    QTest::newRow("login") << Olg1n << 8 << true;
    QTest::newRow("read-only counter") << Olg1n << 72 << true;
    QTest::newRow("general id") << Olg1n << 2 << true;
    QTest::newRow("not listed") << Olg1n << 16 << false;
    QTest::newRow("beyond the table") << Olg1n << 73 << false;
    QTest::newRow("dns of olg8w") << Olg8w << 15 << true;
    QTest::newRow("dns of olg1n") << Olg1n << 15 << false;
    QTest::newRow("unregistered type") << 0x01020304u << 2 << false;
    QTest::newRow("write-only id") << 0x00000077u << 20 << false;
    QTest::newRow("read-write id") << 0x00000077u << 21 << true;
}

void TestDatagram::readItem() {
    QFETCH(quint32, typeCode);
    QFETCH(int, id);
    QFETCH(bool, added);

    DeviceRegistry registry = StandardRegistry();
    registry.RegisterDeviceType(0x77,
                                {{20, AccessWriteOnly, KindU8, 0, 0}, {21, AccessReadWrite, KindU8, 0, 0}},
                                WebSchemeHttp, 0, "custom");
    TSendBuf buffer;
    BuildHeader(buffer, CommandRead, &DeviceId, DefaultDistributorCode);
    QCOMPARE(AddReadItem(buffer, id, ParamValue::Integer(typeCode), registry), added);
    const QByteArray item = added ? BigEndian(quint64(id), 2) + '\0' : QByteArray();
    QCOMPARE(Dump(ToBytes(buffer)), Dump(Header(1) + item + Hex("FF FF")));
}

// The general write sends only the writable general ids, in one datagram.
void TestDatagram::generalWrite() {
    const DeviceRegistry registry = StandardRegistry();
    TOLG record = Record(Olg8w);
    record.SetValue(1, ParamValue::Integer(0xFFFFFF00));
    record.SetValue(2, ParamValue::Integer(qint32(0xC0A8010A)));
    record.SetValue(3, ParamValue::Integer(0xC0A80101));
    record.SetValue(4, ParamValue::Integer(80));
    record.SetValue(5, ParamValue::Text("olg8w"));
    record.SetValue(6, ParamValue::Integer(0x91));
    record.SetValue(7, ParamValue::Text("Rack A"));
    record.SetValue(8, ParamValue::Text("admin"));
    record.SetValue(12, ParamValue::Text("1.4.0.0"));
    record.SetValue(14, ParamValue::Integer(0x08080808));
    // A long text outside the general settings does not stop a general write.
    record.SetValue(17, ParamValue::Text(std::string(300, 'u')));

    const SplitRequest request =
        BuildSplitRequest(SplitOperation::WriteGeneral, record, registry, DefaultDistributorCode);
    QCOMPARE(request.TooLongParam, 0);
    QCOMPARE(int(request.Datagrams.size()), 1);
    const QByteArray expected =
        Header(2) + Hex("00 01 04 FF FF FF 00  00 02 04 C0 A8 01 0A  00 03 04 C0 A8 01 01"
                        "00 04 02 00 50  00 06 01 91  00 07 06 52 61 63 6B 20 41"
                        "00 0E 04 08 08 08 08  00 0F 04 00 00 00 00  FF FF");
    QCOMPARE(Dump(ToBytes(request.Datagrams[0])), Dump(expected));
}

// A read asks for every listed id that does not come with discovery; olg1n's table fits one datagram.
void TestDatagram::readOfOneDatagram() {
    const DeviceRegistry registry = StandardRegistry();
    const SplitRequest request =
        BuildSplitRequest(SplitOperation::Read, Record(Olg1n), registry, DefaultDistributorCode);
    QCOMPARE(int(request.Datagrams.size()), 1);
    const QList<int> ids{8,  9,  10, 11, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 30,
                         31, 32, 33, 34, 35, 36, 37, 40, 41, 42, 50, 70, 71, 72};
    QByteArray expected = Header(1);
    for (const int id : ids)
        expected += BigEndian(quint64(id), 2) + '\0';
    expected += Hex("FF FF");
    QCOMPARE(expected.size(), 25 + 29 * 3 + 2);
    QCOMPARE(Dump(ToBytes(request.Datagrams[0])), Dump(expected));
}

// A type that is not registered has no table: one datagram with no items.
void TestDatagram::unregisteredType_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("command");

    QTest::newRow("read") << int(SplitOperation::Read) << 1;
    QTest::newRow("general write") << int(SplitOperation::WriteGeneral) << 2;
    QTest::newRow("full write") << int(SplitOperation::WriteAll) << 2;
}

void TestDatagram::unregisteredType() {
    QFETCH(int, operation);
    QFETCH(int, command);

    const DeviceRegistry registry = StandardRegistry();
    TOLG record = Record(0x01020304);
    record.SetValue(2, ParamValue::Integer(0x0A000001));
    record.SetValue(7, ParamValue::Text("name"));
    const SplitRequest request =
        BuildSplitRequest(static_cast<SplitOperation>(operation), record, registry, DefaultDistributorCode);
    QCOMPARE(int(request.Datagrams.size()), 1);
    QCOMPARE(int(request.Datagrams[0].size()), 27);
    QCOMPARE(Dump(ToBytes(request.Datagrams[0])), Dump(Header(std::uint8_t(command)) + Hex("FF FF")));
}

// olg8a's table reaches id 489: five datagrams of ids 1-100 ... 401-489, the first four without end marker.
void TestDatagram::fullWriteOfGroup() {
    const DeviceRegistry registry = StandardRegistry();
    TOLG record = Record(Olg8a);
    const TConfigDevice& entry = registry.Entry(registry.FindDeviceType(record.TypeValue()));
    for (const ParamDescriptor& descriptor : entry.Params) {
        if (descriptor.Id == 13)
            continue;
        if (descriptor.Kind == KindText)
            record.SetValue(descriptor.Id, ParamValue::Text("t" + std::to_string(descriptor.Id)));
        else
            record.SetValue(descriptor.Id, ParamValue::Integer(0x01020304LL * descriptor.Id));
    }

    const SplitRequest request = BuildSplitRequest(SplitOperation::WriteAll, record, registry, 0x1425);
    QCOMPARE(request.TooLongParam, 0);
    QCOMPARE(int(request.Datagrams.size()), 5);
    // The first and last written id of each datagram: the counters 81-89 of each group device are read-only.
    const int first[] = {1, 139, 239, 339, 439};
    const int last[] = {72, 172, 272, 372, 472};
    for (int k = 0; k < 5; ++k) {
        const QByteArray datagram = ToBytes(request.Datagrams[std::size_t(k)]);
        QCOMPARE(Dump(datagram.left(25)), Dump(Header(2).replace(18, 2, Hex("25 14"))));
        QList<Item> items;
        bool ended = false;
        QVERIFY2(Items(datagram, items, ended), QByteArray::number(k).constData());
        QCOMPARE(ended, k == 4);
        QVERIFY(!items.isEmpty());
        QCOMPARE(items.first().Id, first[k]);
        QCOMPARE(items.last().Id, last[k]);

        QList<int> expectedIds;
        for (int id = 100 * k + 1; id <= 100 * k + 100; ++id)
            if (registry.ParamAccess(id, record.TypeValue()) != AccessRead)
                expectedIds << id;
        QList<int> ids;
        qsizetype size = 25 + (ended ? 2 : 0);
        for (const Item& item : items) {
            ids << item.Id;
            size += 3 + item.Value.size();
            const std::uint8_t kind = registry.ParamKind(item.Id, record.TypeValue());
            const QByteArray value = kind == KindText ? ToBytes(record.Value(item.Id).AsText())
                                                      : BigEndian(quint64(record.Value(item.Id).AsInteger()),
                                                                  kind == KindU8    ? 1
                                                                  : kind == KindU16 ? 2
                                                                                    : 4);
            QCOMPARE(Dump(item.Value), Dump(value));
        }
        QCOMPARE(ids, expectedIds);
        QCOMPARE(datagram.size(), size);
    }
}

// A full read of olg8a also needs five datagrams; the last one asks for the last counter, 489.
void TestDatagram::fullReadOfGroup() {
    const DeviceRegistry registry = StandardRegistry();
    const SplitRequest request =
        BuildSplitRequest(SplitOperation::Read, Record(Olg8a), registry, DefaultDistributorCode);
    QCOMPARE(int(request.Datagrams.size()), 5);
    int total = 0;
    for (int k = 0; k < 5; ++k) {
        const QByteArray datagram = ToBytes(request.Datagrams[std::size_t(k)]);
        QList<Item> items;
        bool ended = false;
        QVERIFY(Items(datagram, items, ended));
        QCOMPARE(ended, k == 4);
        for (const Item& item : items) {
            QVERIFY(item.Id > 100 * k && item.Id <= 100 * k + 100);
            QVERIFY(item.Value.isEmpty());
        }
        total += int(items.size());
        if (k == 0)
            QCOMPARE(items.first().Id, 8);
        if (k == 4)
            QCOMPARE(items.last().Id, 489);
    }
    // Every listed id except the nine general ones.
    QCOMPARE(total, 249 - 9);
}

// A range of 100 ids that lists nothing still yields its datagram: the header alone.
void TestDatagram::emptyRange_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<QList<QByteArray>>("expected");

    const QByteArray read = Header(1);
    const QByteArray write = Header(2);
    QTest::newRow("read") << int(SplitOperation::Read)
                          << QList<QByteArray>{read + Hex("00 05 00"), read, read + Hex("00 FA 00 FF FF")};
    // Id 5 is read-only: the first range carries nothing to write either.
    QTest::newRow("full write") << int(SplitOperation::WriteAll)
                                << QList<QByteArray>{write, write, write + Hex("00 FA 01 2A FF FF")};
    QTest::newRow("general write") << int(SplitOperation::WriteGeneral)
                                   << QList<QByteArray>{write + Hex("FF FF")};
}

void TestDatagram::emptyRange() {
    QFETCH(int, operation);
    QFETCH(QList<QByteArray>, expected);

    DeviceRegistry registry;
    registry.RegisterDeviceType(0x00000042,
                                {{5, AccessRead, KindText, 0, 0}, {250, AccessReadWrite, KindU8, 0, 0}},
                                WebSchemeHttp, 0, "sparse");
    TOLG record = Record(0x42);
    record.SetValue(5, ParamValue::Text("sparse"));
    record.SetValue(250, ParamValue::Integer(42));
    const SplitRequest request =
        BuildSplitRequest(static_cast<SplitOperation>(operation), record, registry, DefaultDistributorCode);
    QCOMPARE(int(request.Datagrams.size()), int(expected.size()));
    for (qsizetype k = 0; k < expected.size(); ++k)
        QCOMPARE(Dump(ToBytes(request.Datagrams[std::size_t(k)])), Dump(expected[k]));
    if (expected.size() == 3)
        QCOMPARE(int(request.Datagrams[1].size()), 25);
}

// A text that one item cannot carry is never cut: the write names it and has nothing to send.
void TestDatagram::textTooLong_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<QList<int>>("longIds");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("reported");

    const int full = int(SplitOperation::WriteAll);
    const int general = int(SplitOperation::WriteGeneral);
    QTest::newRow("device name, general write") << general << QList<int>{7} << 256 << 7;
    QTest::newRow("device name, full write") << full << QList<int>{7} << 1000 << 7;
    QTest::newRow("last group device") << full << QList<int>{470} << 256 << 470;
    QTest::newRow("first of several") << full << QList<int>{369, 139, 470} << 300 << 139;
    QTest::newRow("255 bytes fit") << full << QList<int>{139, 470} << 255 << 0;
    QTest::newRow("read-only text ignored") << full << QList<int>{11} << 400 << 0;
    QTest::newRow("read ignores values") << int(SplitOperation::Read) << QList<int>{7, 139} << 400 << 0;
}

void TestDatagram::textTooLong() {
    QFETCH(int, operation);
    QFETCH(QList<int>, longIds);
    QFETCH(int, length);
    QFETCH(int, reported);

    const DeviceRegistry registry = StandardRegistry();
    TOLG record = Record(Olg8a);
    for (const int id : longIds)
        record.SetValue(id, ParamValue::Text(std::string(std::size_t(length), 'L')));
    const SplitRequest request =
        BuildSplitRequest(static_cast<SplitOperation>(operation), record, registry, DefaultDistributorCode);
    QCOMPARE(request.TooLongParam, reported);
    if (reported != 0) {
        QVERIFY(request.Datagrams.empty());
        TSendBuf buffer;
        BuildHeader(buffer, CommandWrite, &record.Identity, DefaultDistributorCode);
        QCOMPARE(AddWriteItem(buffer, reported, record, registry), WriteItemResult::TooLong);
        QCOMPARE(int(buffer.size()), 27);
    } else {
        QVERIFY(!request.Datagrams.empty());
    }
}

QTEST_GUILESS_MAIN(TestDatagram)
#include "test_datagram.moc"
