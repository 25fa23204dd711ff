// Merging replies into the device list, record copies, and MAC texts.

#include "AddressConflicts.h"
#include "AddressGroups.h"
#include "Datagram.h"
#include "DeviceList.h"
#include "MacAddress.h"
#include "TestBytes.h"

#include <QTest>

using namespace olg;
using testbytes::Hex;
using testbytes::ToBytes;
using testbytes::ToVector;

namespace {

// A discovery-style reply from this source identity carrying the device name and, if given, a type code.
std::vector<std::uint8_t> Reply(const QByteArray& source, const QByteArray& name, quint32 typeCode = 0) {
    QByteArray datagram = QByteArray(8, '\0') + source + Hex("00 01 25 13 00 00 00 00 01");
    datagram += Hex("00 07") + char(name.size()) + name;
    if (typeCode != 0) {
        datagram += Hex("00 0D 04");
        for (int shift = 24; shift >= 0; shift -= 8)
            datagram += char((typeCode >> shift) & 0xFF);
    }
    return ToVector(datagram + Hex("FF FF"));
}

int Merge(DeviceList& list, const char* sender, const std::vector<std::uint8_t>& datagram) {
    return list.MergeReply(sender, datagram.data(), datagram.size());
}

QByteArray Name(const TOLG& record) {
    return ToBytes(record.Value(7).AsText());
}

const QByteArray DeviceA = Hex("00 01 00 0A 95 9D 68 16");
const QByteArray DeviceB = Hex("00 01 00 0A 95 9D 68 17");
const QByteArray DeviceC = Hex("00 01 FE DC BA 98 76 54");

} // namespace

class TestDeviceList : public QObject {
    Q_OBJECT

private slots:
    void orderOfFirstReply();
    void refreshInPlace();
    void identity_data();
    void identity();
    void dropped_data();
    void dropped();
    void typeCodeOfEarlierReply();
    void recordCopy();
    void recordEquality();
    void clear();
    void formatMac_data();
    void formatMac();
    void parseMac_data();
    void parseMac();
    void addressConflicts_data();
    void addressConflicts();
};

void TestDeviceList::orderOfFirstReply() {
    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    QCOMPARE(Merge(list, "10.0.0.2", Reply(DeviceB, "b")), 0);
    QCOMPARE(Merge(list, "10.0.0.1", Reply(DeviceA, "a")), 1);
    QCOMPARE(Merge(list, "10.0.0.2", Reply(DeviceB, "b2")), 0);
    QCOMPARE(Merge(list, "10.0.0.3", Reply(DeviceC, "c")), 2);
    QCOMPARE(Merge(list, "10.0.0.1", Reply(DeviceA, "a2")), 1);
    QCOMPARE(list.Size(), 3);
    QCOMPARE(Name(list.At(0)), QByteArray("b2"));
    QCOMPARE(Name(list.At(1)), QByteArray("a2"));
    QCOMPARE(Name(list.At(2)), QByteArray("c"));
    QCOMPARE(list.Find(MacIdentity(0xFEDCBA987654)), 2);
    QCOMPARE(list.Find(MacIdentity(0xFEDCBA987655)), -1);
}

// Ten replies of one device: one record, refreshed each time; values a reply does not carry stay.
void TestDeviceList::refreshInPlace() {
    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    QCOMPARE(Merge(list, "192.168.1.10", Reply(DeviceA, "first", 0x04010100)), 0);
    for (int i = 0; i < 10; ++i) {
        const QByteArray sender = "192.168.1." + QByteArray::number(20 + i);
        const QByteArray name = "name" + QByteArray::number(i);
        QCOMPARE(Merge(list, sender.constData(), Reply(DeviceA, name)), 0);
        QCOMPARE(list.Size(), 1);
        QCOMPARE(QByteArray::fromStdString(list.At(0).SenderAddress), sender);
        QCOMPARE(Name(list.At(0)), name);
    }
    QCOMPARE(list.At(0).TypeValue().AsInteger(), qint64(0x04010100));
}

// The source identity is the key; only a 00 01 identity tells a MAC.
void TestDeviceList::identity_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<qulonglong>("mac");

    QTest::newRow("mac identity") << DeviceA << 0x000A959D6816ULL;
    QTest::newRow("highest mac") << Hex("00 01 FF FF FF FF FF FE") << 0xFFFFFFFFFFFEULL;
    // Only all six bytes FF are dropped.
    QTest::newRow("first byte not FF") << Hex("00 01 00 FF FF FF FF FF") << 0x00FFFFFFFFFFULL;
    QTest::newRow("address identity") << Hex("00 02 C0 A8 01 0A CC A5") << 0ULL;
    QTest::newRow("other type") << Hex("01 01 00 0A 95 9D 68 16") << 0ULL;
    QTest::newRow("zero identity") << QByteArray(8, '\0') << 0ULL;
}

void TestDeviceList::identity() {
    QFETCH(QByteArray, source);
    QFETCH(qulonglong, mac);

    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    QCOMPARE(Merge(list, "10.0.0.9", Reply(source, "dev")), 0);
    QCOMPARE(ToBytes(list.At(0).Identity), source);
    QCOMPARE(list.At(0).Mac, quint64(mac));
    QCOMPARE(QByteArray::fromStdString(list.At(0).SenderAddress), QByteArray("10.0.0.9"));
    QCOMPARE(Name(list.At(0)), QByteArray("dev"));

    // The same six bytes under another identity type are another device.
    QByteArray twin = source;
    twin[1] = char(twin[1] ^ 0x40);
    QCOMPARE(Merge(list, "10.0.0.9", Reply(twin, "twin")), 1);
    QCOMPARE(Merge(list, "10.0.0.9", Reply(source, "again")), 0);
}

void TestDeviceList::dropped_data() {
    QTest::addColumn<QByteArray>("datagram");

    const QByteArray full = ToBytes(Reply(DeviceA, "x"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("24 bytes") << full.left(24);
    QTest::newRow("broadcast identity") << ToBytes(Reply(Hex("00 01 FF FF FF FF FF FF"), "x"));
    QTest::newRow("bytes 10-15 FF, other type") << ToBytes(Reply(Hex("00 02 FF FF FF FF FF FF"), "x"));
    QTest::newRow("bytes 10-15 FF, header only")
        << ToBytes(Reply(Hex("12 34 FF FF FF FF FF FF"), "x")).left(25);
}

void TestDeviceList::dropped() {
    QFETCH(QByteArray, datagram);

    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    QCOMPARE(Merge(list, "10.0.0.1", Reply(DeviceA, "kept")), 0);
    const TOLG before = list.At(0);
    const std::vector<std::uint8_t> bytes = ToVector(datagram);
    QCOMPARE(list.MergeReply("10.0.0.2", bytes.data(), bytes.size()), -1);
    QCOMPARE(list.Size(), 1);
    QVERIFY(list.At(0) == before);
}

// Items of a later reply are decoded by the type code an earlier reply brought.
void TestDeviceList::typeCodeOfEarlierReply() {
    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    const QByteArray socketName = Hex("00 38 04 50 75 6D 70"); // id 56, "Pump"
    QByteArray later = QByteArray(8, '\0') + DeviceA + QByteArray(9, '\0') + socketName + Hex("FF FF");
    const std::vector<std::uint8_t> laterBytes = ToVector(later);

    QCOMPARE(list.MergeReply("10.0.0.1", laterBytes.data(), laterBytes.size()), 0);
    QVERIFY(list.At(0).Value(56).IsEmpty());
    QCOMPARE(Merge(list, "10.0.0.1", Reply(DeviceA, "x", 0x04000100)), 0);
    QCOMPARE(list.MergeReply("10.0.0.1", laterBytes.data(), laterBytes.size()), 0);
    QCOMPARE(ToBytes(list.At(0).Value(56).AsText()), QByteArray("Pump"));
}

// A dialog works on a copy; the list changes only when the copy is put back.
void TestDeviceList::recordCopy() {
    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    Merge(list, "10.0.0.1", Reply(DeviceA, "a", 0x04000100));
    Merge(list, "10.0.0.2", Reply(DeviceB, "b", 0x04000100));

    TOLG copy = list.At(1);
    copy.SetValue(7, ParamValue::Text("edited"));
    copy.SetValue(900, ParamValue::Integer(5));
    QCOMPARE(Name(list.At(1)), QByteArray("b"));
    QVERIFY(list.At(1).Value(900).IsEmpty());

    list.Replace(1, copy);
    QCOMPARE(Name(list.At(1)), QByteArray("edited"));
    QCOMPARE(Name(list.At(0)), QByteArray("a"));
    copy.SetValue(7, ParamValue::Text("later"));
    QCOMPARE(Name(list.At(1)), QByteArray("edited"));
    // The record is still found by its identity, and replies keep merging into it.
    QCOMPARE(Merge(list, "10.0.0.3", Reply(DeviceB, "reply")), 1);
    QCOMPARE(list.At(1).Value(900).AsInteger(), qint64(5));
    QCOMPARE(QByteArray::fromStdString(list.At(1).SenderAddress), QByteArray("10.0.0.3"));
}

// Records compare by their values, however they were filled.
void TestDeviceList::recordEquality() {
    TOLG fresh;
    TOLG cleared;
    cleared.SetValue(999, ParamValue::Text("x"));
    QVERIFY(!(cleared == fresh));
    cleared.SetValue(999, ParamValue());
    QVERIFY(cleared == fresh);
    QVERIFY(fresh == cleared);

    TOLG text;
    text.SetValue(7, ParamValue::Text(""));
    QVERIFY(!(text == fresh));
    TOLG number;
    number.SetValue(7, ParamValue::Integer(0));
    QVERIFY(!(text == number));
    // Ids outside 1..999 hold nothing.
    TOLG outside;
    outside.SetValue(0, ParamValue::Integer(1));
    outside.SetValue(1000, ParamValue::Integer(1));
    QVERIFY(outside == fresh);
    QVERIFY(outside.Value(1000).IsEmpty());
    QVERIFY(outside.Value(-5).IsEmpty());
}

void TestDeviceList::clear() {
    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    Merge(list, "10.0.0.1", Reply(DeviceA, "a"));
    Merge(list, "10.0.0.2", Reply(DeviceB, "b"));
    list.Clear();
    QVERIFY(list.Empty());
    QCOMPARE(list.Find(MacIdentity(0x000A959D6817)), -1);
    QCOMPARE(Merge(list, "10.0.0.2", Reply(DeviceB, "b")), 0);
    QCOMPARE(Merge(list, "10.0.0.1", Reply(DeviceA, "a")), 1);
}

void TestDeviceList::formatMac_data() {
    QTest::addColumn<qulonglong>("mac");
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("grid") << 0x000A959D6816ULL << QByteArray(".") << QByteArray("00.0A.95.9D.68.16");
    QTest::newRow("label") << 0x000A959D6816ULL << QByteArray("-") << QByteArray("00-0A-95-9D-68-16");
    QTest::newRow("zero") << 0ULL << QByteArray(".") << QByteArray("00.00.00.00.00.00");
    QTest::newRow("bits above 48 ignored")
        << 0xABCDFEDCBA987654ULL << QByteArray("") << QByteArray("FEDCBA987654");
}

void TestDeviceList::formatMac() {
    QFETCH(qulonglong, mac);
    QFETCH(QByteArray, separator);
    QFETCH(QByteArray, text);

    QCOMPARE(QByteArray::fromStdString(FormatMac(separator.toStdString(), mac)), text);
}

void TestDeviceList::parseMac_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qlonglong>("mac"); // -1: refused

    QTest::newRow("dots") << QByteArray("00.0A.95.9D.68.16") << qlonglong(0x000A959D6816);
    QTest::newRow("dashes, lower case") << QByteArray("fe-dc-ba-98-76-54") << qlonglong(0xFEDCBA987654);
    QTest::newRow("colons") << QByteArray("00:0a:95:9D:68:16") << qlonglong(0x000A959D6816);
    QTest::newRow("bare") << QByteArray("000A959D6816") << qlonglong(0x000A959D6816);
    QTest::newRow("mixed separators") << QByteArray("00-0A:95-9D-68-16") << qlonglong(-1);
    QTest::newRow("other separator") << QByteArray("00/0A/95/9D/68/16") << qlonglong(-1);
    QTest::newRow("not hex") << QByteArray("00.0A.95.9D.68.1G") << qlonglong(-1);
    QTest::newRow("too short") << QByteArray("000A959D681") << qlonglong(-1);
    QTest::newRow("too long") << QByteArray("000A959D68160") << qlonglong(-1);
    QTest::newRow("separator misplaced") << QByteArray("00.0A.959.D.68.16") << qlonglong(-1);
    QTest::newRow("empty") << QByteArray() << qlonglong(-1);
}

void TestDeviceList::parseMac() {
    QFETCH(QByteArray, text);
    QFETCH(qlonglong, mac);

    const auto parsed = ParseMac(text.toStdString());
    QCOMPARE(parsed.has_value(), mac >= 0);
    if (parsed) {
        QCOMPARE(qlonglong(*parsed), mac);
        QCOMPARE(ParseMac(FormatMac("-", *parsed)), parsed);
    }
}

void TestDeviceList::addressConflicts_data() {
    // Each reply: sender address, interface, source identity; in that order of arrival.
    QTest::addColumn<QStringList>("replies");
    // Per listed device, the other devices it conflicts with, by list index.
    QTest::addColumn<QList<QList<int>>>("others");
    // Per listed device, the interface its record keeps.
    QTest::addColumn<QStringList>("interfaces");

    QTest::newRow("distinct addresses")
        << QStringList{QStringLiteral("10.0.0.1 eth0 A"), QStringLiteral("10.0.0.2 eth0 B")}
        << QList<QList<int>>{{}, {}} << QStringList{QStringLiteral("eth0"), QStringLiteral("eth0")};
    QTest::newRow("one address, three devices")
        << QStringList{QStringLiteral("10.0.0.1 eth0 A"), QStringLiteral("10.0.0.9 eth0 B"),
                       QStringLiteral("10.0.0.1 eth0 C"), QStringLiteral("10.0.0.1 eth0 B")}
        << QList<QList<int>>{{1, 2}, {0, 2}, {0, 1}}
        << QStringList{QStringLiteral("eth0"), QStringLiteral("eth0"), QStringLiteral("eth0")};
    QTest::newRow("same address on two networks")
        << QStringList{QStringLiteral("10.0.0.1 eth0 A"), QStringLiteral("10.0.0.1 eth1 B")}
        << QList<QList<int>>{{}, {}} << QStringList{QStringLiteral("eth0"), QStringLiteral("eth1")};
    // A later reply whose interface is unknown keeps the one an earlier reply gave.
    QTest::newRow("interface kept when not told")
        << QStringList{QStringLiteral("10.0.0.1 eth0 A"), QStringLiteral("10.0.0.1 eth1 B"),
                       QStringLiteral("10.0.0.1 - B")}
        << QList<QList<int>>{{}, {}} << QStringList{QStringLiteral("eth0"), QStringLiteral("eth1")};
}

void TestDeviceList::addressConflicts() {
    QFETCH(QStringList, replies);
    QFETCH(QList<QList<int>>, others);
    QFETCH(QStringList, interfaces);

    const DeviceRegistry registry = StandardRegistry();
    DeviceList list(registry);
    // Kept up to date reply by reply, it must find what the whole list shows at the end.
    AddressGroups groups;
    for (const QString& reply : replies) {
        const QStringList words = reply.split(QLatin1Char(' '));
        const QByteArray source = words[2] == QLatin1String("A")   ? DeviceA
                                  : words[2] == QLatin1String("B") ? DeviceB
                                                                   : DeviceC;
        const std::vector<std::uint8_t> datagram = Reply(source, "x");
        const std::string interfaceName =
            words[1] == QLatin1String("-") ? std::string() : words[1].toStdString();
        const int index =
            list.MergeReply(words[0].toStdString(), datagram.data(), datagram.size(), interfaceName);
        QVERIFY(index >= 0);
        groups.Move(index, list.At(index).SenderAddress, list.At(index).Interface);
    }
    const AddressConflicts conflicts = FindAddressConflicts(list);
    QCOMPARE(list.Size(), others.size());
    for (int device = 0; device < list.Size(); ++device) {
        const std::vector<int> found = conflicts.Others(device);
        QCOMPARE(QList<int>(found.begin(), found.end()), others[device]);
        const std::vector<int> first = conflicts.Others(device, 1);
        QCOMPARE(QList<int>(first.begin(), first.end()), others[device].mid(0, 1));
        QCOMPARE(conflicts.OtherCount(device), std::size_t(others[device].size()));
        QCOMPARE(groups.Others(device), found);
        QCOMPARE(groups.OtherCount(device), conflicts.OtherCount(device));
        QCOMPARE(QString::fromStdString(list.At(device).Interface), interfaces[device]);
    }
}

QTEST_GUILESS_MAIN(TestDeviceList)
#include "test_device_list.moc"
