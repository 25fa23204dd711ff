// The simulated device's answers, checked with the Finder's own request builders and reply decoder: what
// the Finder sends, a device must answer so that the Finder reads back what the device holds.

#include "TestSupport.h"

#include "DeviceSpecParser.h"
#include "FleetGenerator.h"
#include "VirtualDevice.h"

#include "Datagram.h"
#include "ReplyDecoder.h"
#include "SplitRequest.h"

#include <QSet>
#include <QTest>

#include <random>

using namespace olg;
using namespace olg::testing;
using namespace olg::sim;

namespace {

constexpr std::uint64_t Mac = 0x000A959D6816ull;
constexpr std::uint32_t Ip = 0xC0A8010Au; // 192.168.1.10
constexpr qint64 Unregistered = 0x12345678;

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

DeviceConfig Config(qint64 typeCode, const char* faults = "") {
    DeviceConfig config;
    config.TypeCode = static_cast<std::uint32_t>(typeCode);
    config.Mac = Mac;
    config.Name = "Rack A";
    config.Firmware = "1.4.0.0";
    config.Serial = 3;
    std::string error;
    for (const auto& [key, value] : DeviceSpecParser::Split(faults)) {
        bool known = false;
        if (!DeviceSpecParser::ParseFault(key, value, config.Faults, error, known))
            qFatal("bad fault switch in a test: %s", key.c_str());
    }
    return config;
}

VirtualDevice Device(qint64 typeCode, const char* faults = "") {
    return VirtualDevice(Config(typeCode, faults), Ip, SharedRegistry());
}

DeviceAnswer Ask(VirtualDevice& device, const QByteArray& request) {
    return device.Answer(reinterpret_cast<const std::uint8_t*>(request.constData()),
                         static_cast<std::size_t>(request.size()));
}

DeviceAnswer Ask(VirtualDevice& device, const TSendBuf& request) {
    return device.Answer(request.data(), request.size());
}

TOLG Decode(const std::vector<std::uint8_t>& reply, qint64 typeCode, DecodeResult* result = nullptr) {
    TOLG record;
    record.SetValue(13, ParamValue::Integer(static_cast<std::int32_t>(typeCode)));
    const DecodeResult outcome = DecodeReplyItems(reply.data(), reply.size(), record, SharedRegistry());
    if (result)
        *result = outcome;
    return record;
}

// The request the Finder sends to one device: the header and these items.
QByteArray Request(std::uint8_t command, const DeviceIdentity& destination, const QByteArray& items = {}) {
    TSendBuf buffer;
    BuildHeader(buffer, command, &destination, DefaultDistributorCode);
    buffer.resize(HeaderSize);
    return Bytes(buffer) + items + Hex("FF FF");
}

TOLG WithIdentity(qint64 typeCode) {
    TOLG record;
    record.Identity = MacIdentity(Mac);
    record.SetValue(13, ParamValue::Integer(static_cast<std::int32_t>(typeCode)));
    return record;
}

// The ids of the items of a well-formed reply, or -1 entries where its walk goes wrong.
QList<int> ReplyIds(const std::vector<std::uint8_t>& reply) {
    QList<int> ids;
    std::size_t position = HeaderSize;
    while (position + 2 <= reply.size() && ReadU16(reply.data() + position) != EndMarker) {
        if (position + 3 > reply.size())
            return ids << -1;
        ids << ReadU16(reply.data() + position);
        position += 3u + reply[position + 2];
    }
    if (position + 2 != reply.size())
        ids << -1;
    return ids;
}

void AddTypeRows() {
    QTest::addColumn<qint64>("typeCode");
    for (const auto& entry : SharedRegistry().Entries())
        QTest::addRow("%s 0x%08X", entry.Model.c_str(), entry.TypeCode)
            << static_cast<qint64>(entry.TypeCode);
}

} // namespace

class TestVirtualDevice : public QObject {
    Q_OBJECT

private slots:
    void discovery_data();
    void discovery();
    void fullReadReturnsTheStore_data();
    void fullReadReturnsTheStore();
    void plausibleValues_data();
    void plausibleValues();
    void write_data();
    void write();
    void fullWriteIsStored_data();
    void fullWriteIsStored();
    void upgradeAnswers_data();
    void upgradeAnswers();
    void defaultUpgradeMode_data();
    void defaultUpgradeMode();
    void identityFiltering_data();
    void identityFiltering();
    void upgradeFollowsWrittenAddress();
    void splitReadAnsweredDatagramByDatagram();
    void malformedRequests_data();
    void malformedRequests();
    void randomDatagramsNeverBreakTheDevice();
    void noAnswerStillActs();
    void droppedRequestsAreNotActedOn();
    void dropShare();
    void delay();
    void spoiledReplies_data();
    void spoiledReplies();
    void fleet();
};

void TestVirtualDevice::discovery_data() {
    QTest::addColumn<qint64>("typeCode");
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<bool>("hasDns");
    for (const auto& entry : SharedRegistry().Entries())
        QTest::addRow("%s 0x%08X", entry.Model.c_str(), entry.TypeCode)
            << static_cast<qint64>(entry.TypeCode) << QByteArray::fromStdString(entry.Model)
            << (entry.Model == "olg8w");
    QTest::addRow("unregistered") << Unregistered << QByteArray("olgX") << false;
}

void TestVirtualDevice::discovery() {
    QFETCH(qint64, typeCode);
    QFETCH(QByteArray, model);
    QFETCH(bool, hasDns);
    VirtualDevice device = Device(typeCode);
    const DeviceAnswer answer = Ask(device, BuildDiscoveryRequest(0x1525));
    QVERIFY(answer.Answered);
    QCOMPARE(answer.DelayMs, 0);
    const QByteArray reply = Bytes(answer.Datagram);
    // No identity as destination, the MAC identity as source, marker, the distributor code as it came.
    QCOMPARE(reply.left(25), Hex("0000000000000000 0001000A959D6816 0001 2515 00000000 01"));

    DecodeResult result{};
    const TOLG record = Decode(answer.Datagram, -1, &result);
    QCOMPARE(result, DecodeResult::Complete);
    QCOMPARE(QByteArray::fromStdString(record.Value(5).AsText()), model);
    QCOMPARE(static_cast<std::uint32_t>(record.Value(13).AsInteger()), static_cast<std::uint32_t>(typeCode));
    QCOMPARE(static_cast<std::uint32_t>(record.Value(2).AsInteger()), Ip);
    QCOMPARE(static_cast<std::uint32_t>(record.Value(1).AsInteger()), 0xFFFFFF00u);
    QCOMPARE(static_cast<std::uint32_t>(record.Value(3).AsInteger()), 0xC0A80101u);
    QCOMPARE(record.Value(4).AsInteger(), 80);
    QCOMPARE(record.Value(7).AsText(), std::string("Rack A"));
    QCOMPARE(record.Value(12).AsText(), std::string("1.4.0.0"));
    QVERIFY(record.Value(6).IsInteger());
    QCOMPARE(record.Value(14).IsInteger(), hasDns);
    QCOMPARE(record.Value(15).IsInteger(), hasDns);
}

void TestVirtualDevice::fullReadReturnsTheStore_data() {
    AddTypeRows();
}

void TestVirtualDevice::fullReadReturnsTheStore() {
    QFETCH(qint64, typeCode);
    VirtualDevice device = Device(typeCode);
    const SplitRequest request =
        BuildSplitRequest(SplitOperation::Read, WithIdentity(typeCode), SharedRegistry(), 0x1325);
    TOLG record = WithIdentity(typeCode);
    for (const TSendBuf& datagram : request.Datagrams) {
        const DeviceAnswer answer = Ask(device, datagram);
        QVERIFY(answer.Answered);
        QCOMPARE(DecodeReplyItems(answer.Datagram.data(), answer.Datagram.size(), record, SharedRegistry()),
                 DecodeResult::Complete);
    }
    const ParamValue type = ParamValue::Integer(typeCode);
    int checked = 0;
    for (const auto& descriptor : SharedRegistry().Entry(SharedRegistry().FindDeviceType(type)).Params) {
        QVERIFY2(!device.Store().Value(descriptor.Id).IsEmpty(), qPrintable(QString::number(descriptor.Id)));
        if (descriptor.General)
            continue;
        QVERIFY2(record.Value(descriptor.Id) == device.Store().Value(descriptor.Id),
                 qPrintable(QStringLiteral("id %1").arg(descriptor.Id)));
        ++checked;
    }
    QVERIFY(checked > 0);
}

void TestVirtualDevice::plausibleValues_data() {
    AddTypeRows();
}

void TestVirtualDevice::plausibleValues() {
    QFETCH(qint64, typeCode);
    const VirtualDevice device = Device(typeCode);
    DeviceConfig otherConfig = Config(typeCode);
    otherConfig.Serial = 4;
    otherConfig.Mac = Mac + 1;
    const VirtualDevice neighbour(otherConfig, Ip + 1, SharedRegistry());
    QSet<QByteArray> logins;
    int differingFromNeighbour = 0;
    for (const auto& descriptor : device.Table()) {
        const ParamValue& value = device.Store().Value(descriptor.Id);
        if (descriptor.Kind == KindText) {
            // The configuration dialogs edit at most 32 characters.
            QVERIFY2(value.AsText().size() <= 32, qPrintable(QString::number(descriptor.Id)));
            if (descriptor.Access == AccessLogin) {
                QVERIFY(!value.AsText().empty());
                logins.insert(QByteArray::fromStdString(value.AsText()));
            }
        }
        if (!(value == neighbour.Store().Value(descriptor.Id)))
            ++differingFromNeighbour;
    }
    int loginCount = 0;
    for (const auto& descriptor : device.Table())
        loginCount += descriptor.Access == AccessLogin ? 1 : 0;
    // The Finder refuses to write a device whose logins are not pairwise different.
    QCOMPARE(logins.size(), loginCount);
    // Names, addresses, passwords and counters tell two devices of one model apart.
    QVERIFY(differingFromNeighbour >= 4);
}

void TestVirtualDevice::write_data() {
    QTest::addColumn<qint64>("typeCode");
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("stored");
    const qint64 olg4a = 0x04000100, olg8a = 0x08000100, olg8n = 0x08010100, olg8w = 0x08030200;
    QTest::newRow("login text") << olg8a << 8 << QByteArray("root") << true;
    QTest::newRow("empty text") << olg8a << 7 << QByteArray() << true;
    QTest::newRow("text keeps every byte") << olg4a << 56 << Hex("00 E9 FF 41") << true;
    QTest::newRow("address") << olg8a << 20 << Hex("C0 A8 01 63") << true;
    QTest::newRow("address of 3 bytes") << olg8a << 20 << Hex("C0 A8 01") << false;
    QTest::newRow("8-bit") << olg8a << 36 << Hex("0F") << true;
    QTest::newRow("8-bit of 2 bytes") << olg8a << 36 << Hex("00 0F") << false;
    QTest::newRow("16-bit") << olg8n << 80 << Hex("12 34") << true;
    QTest::newRow("16-bit of 1 byte") << olg8n << 80 << Hex("12") << false;
    QTest::newRow("web port") << olg8n << 4 << Hex("1F 90") << true;
    QTest::newRow("read-only model name") << olg8a << 5 << QByteArray("olgZZ") << false;
    QTest::newRow("read-only firmware") << olg8a << 12 << QByteArray("9.9.9.9") << false;
    QTest::newRow("read-only type code") << olg8a << 13 << Hex("01 01 01 00") << false;
    QTest::newRow("read-only counter") << olg8a << 81 << Hex("00 00 00 00") << false;
    QTest::newRow("read-only six-byte") << olg8a << 10 << Hex("00 00 00 00 00 01") << false;
    QTest::newRow("dns on olg8w") << olg8w << 14 << Hex("C0 A8 01 35") << true;
    QTest::newRow("dns not on olg8a") << olg8a << 14 << Hex("C0 A8 01 35") << false;
    QTest::newRow("id of another model") << olg8w << 56 << QByteArray("x") << false;
    QTest::newRow("id 16 is in no table") << olg4a << 16 << QByteArray("x") << false;
    QTest::newRow("unregistered type: common block") << Unregistered << 7 << QByteArray("x") << true;
    QTest::newRow("unregistered type: no sockets") << Unregistered << 56 << QByteArray("x") << false;
}

void TestVirtualDevice::write() {
    QFETCH(qint64, typeCode);
    QFETCH(int, id);
    QFETCH(QByteArray, value);
    QFETCH(bool, stored);
    VirtualDevice device = Device(typeCode);
    const ParamValue before = device.Store().Value(id);
    const QByteArray item = QByteArray(1, static_cast<char>(id >> 8)) + static_cast<char>(id & 0xFF) +
                            static_cast<char>(value.size()) + value;
    const DeviceAnswer answer = Ask(device, Request(CommandWrite, MacIdentity(Mac), item));

    // A write is always answered with one datagram; it confirms exactly what was stored.
    QVERIFY(answer.Answered);
    QCOMPARE(answer.Datagram[CommandOffset], CommandWrite);
    QCOMPARE(answer.Changed, stored);
    QCOMPARE(ReplyIds(answer.Datagram), stored ? QList<int>{id} : QList<int>{});
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(value.constData());
    const ParamValue expected =
        stored ? DecodeValue(device.Kind(id), bytes, static_cast<std::size_t>(value.size())) : before;
    QVERIFY(device.Store().Value(id) == expected);
}

void TestVirtualDevice::fullWriteIsStored_data() {
    AddTypeRows();
}

void TestVirtualDevice::fullWriteIsStored() {
    QFETCH(qint64, typeCode);
    VirtualDevice device = Device(typeCode);
    // What a configuration dialog sends after editing everything.
    TOLG record = WithIdentity(typeCode);
    const ParamValue type = ParamValue::Integer(typeCode);
    for (const auto& descriptor : device.Table()) {
        const int id = descriptor.Id;
        const std::uint8_t kind = device.Kind(id);
        if (kind == KindText)
            record.SetValue(id, ParamValue::Text("w" + std::to_string(id)));
        else if (kind == KindU8)
            record.SetValue(id, ParamValue::Integer((device.Store().Value(id).AsInteger() + 1) & 0xFF));
        else if (kind == KindU16)
            record.SetValue(id, ParamValue::Integer((device.Store().Value(id).AsInteger() + 1) & 0xFFFF));
        else if (kind == KindIp || kind == KindU32)
            record.SetValue(id, ParamValue::Integer(static_cast<std::int32_t>(0x0A000000 + id)));
    }
    record.SetValue(13, type);
    const SplitRequest request =
        BuildSplitRequest(SplitOperation::WriteAll, record, SharedRegistry(), 0x1325);
    QVERIFY(!request.Datagrams.empty());
    for (const TSendBuf& datagram : request.Datagrams) {
        const DeviceAnswer answer = Ask(device, datagram);
        QVERIFY(answer.Answered);
        QVERIFY(answer.Changed);
    }
    for (const auto& descriptor : device.Table()) {
        const bool writable =
            descriptor.Access != AccessRead && descriptor.Kind >= KindIp && descriptor.Kind <= KindU32;
        if (writable)
            QVERIFY2(device.Store().Value(descriptor.Id) == record.Value(descriptor.Id),
                     qPrintable(QString::number(descriptor.Id)));
        else
            QVERIFY2(!(device.Store().Value(descriptor.Id) == record.Value(descriptor.Id)) ||
                         descriptor.Id == 13,
                     qPrintable(QString::number(descriptor.Id)));
    }
}

void TestVirtualDevice::upgradeAnswers_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("expected"); // an UpgradeMode; None: no answer at all
    const auto tftp = static_cast<int>(UpgradeAnswer::Tftp), ftp = static_cast<int>(UpgradeAnswer::Ftp),
               none = static_cast<int>(UpgradeAnswer::None);
    QTest::newRow("tftp device, image") << tftp << 3 << static_cast<int>(UpgradeMode::TftpImage);
    QTest::newRow("ftp device, image") << ftp << 3 << static_cast<int>(UpgradeMode::FtpImage);
    QTest::newRow("ftp device, file set") << ftp << 4 << static_cast<int>(UpgradeMode::FtpFileSet);
    QTest::newRow("tftp device, file set") << tftp << 4 << static_cast<int>(UpgradeMode::None);
    QTest::newRow("locked device, image") << none << 3 << static_cast<int>(UpgradeMode::None);
    QTest::newRow("locked device, file set") << none << 4 << static_cast<int>(UpgradeMode::None);
}

void TestVirtualDevice::upgradeAnswers() {
    QFETCH(int, mode);
    QFETCH(int, command);
    QFETCH(int, expected);
    DeviceConfig config = Config(0x04000100);
    config.Upgrade = static_cast<UpgradeAnswer>(mode);
    VirtualDevice device(config, Ip, SharedRegistry());
    const DeviceAnswer answer =
        Ask(device, BuildUpgradeRequest(static_cast<std::uint8_t>(command), Ip, DefaultDistributorCode));
    QCOMPARE(answer.Answered, expected != static_cast<int>(UpgradeMode::None));
    if (!answer.Answered)
        return;
    QCOMPARE(static_cast<int>(ParseUpgradeReply(answer.Datagram.data(), answer.Datagram.size(),
                                                static_cast<std::uint8_t>(command))),
             expected);
    QCOMPARE(answer.Datagram.size(), EmptyRequestSize);
    QCOMPARE(Bytes(answer.Datagram).mid(8, 8), Hex("0001000A959D6816"));
}

void TestVirtualDevice::defaultUpgradeMode_data() {
    AddTypeRows();
}

void TestVirtualDevice::defaultUpgradeMode() {
    QFETCH(qint64, typeCode);
    const VirtualDevice device = Device(typeCode);
    // The models with an administration page take their firmware by FTP.
    const bool admin =
        SharedRegistry().Entry(SharedRegistry().FindDeviceType(ParamValue::Integer(typeCode))).HasAdminPage;
    QCOMPARE(device.Upgrade(), admin ? UpgradeAnswer::Ftp : UpgradeAnswer::Tftp);
}

void TestVirtualDevice::identityFiltering_data() {
    QTest::addColumn<QByteArray>("destination");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("answered");
    const QByteArray own = Hex("0001000A959D6816"), all = Hex("0001FFFFFFFFFFFF"),
                     none = Hex("0000000000000000");
    const QByteArray address = Hex("0002C0A8010ACCA5");
    QTest::newRow("read, broadcast") << all << none << 1 << true;
    QTest::newRow("read, own") << own << none << 1 << true;
    QTest::newRow("read, other MAC") << Hex("0001000A959D6817") << none << 1 << false;
    QTest::newRow("read, own address identity") << address << none << 1 << false;
    QTest::newRow("read, no identity") << none << none << 1 << false;
    QTest::newRow("read, MAC identity type 2") << Hex("0002000A959D6816") << none << 1 << false;
    QTest::newRow("write, own") << own << none << 2 << true;
    QTest::newRow("write, broadcast") << all << none << 2 << false;
    QTest::newRow("write, other MAC") << Hex("0001000A959D6800") << none << 2 << false;
    QTest::newRow("image upgrade, own address") << address << none << 3 << true;
    QTest::newRow("image upgrade, other address") << Hex("0002C0A8010BCCA5") << none << 3 << false;
    QTest::newRow("image upgrade, other port") << Hex("0002C0A8010ACCA6") << none << 3 << false;
    QTest::newRow("image upgrade, own MAC") << own << none << 3 << false;
    QTest::newRow("image upgrade, broadcast") << all << none << 3 << false;
    QTest::newRow("unknown command 0") << all << none << 0 << false;
    QTest::newRow("unknown command 5") << own << none << 5 << false;
    // Another device's reply heard by broadcast must never start a conversation between devices.
    QTest::newRow("a device's reply") << all << Hex("0001000A959D6817") << 1 << false;
}

void TestVirtualDevice::identityFiltering() {
    QFETCH(QByteArray, destination);
    QFETCH(QByteArray, source);
    QFETCH(int, command);
    QFETCH(bool, answered);
    DeviceConfig config = Config(0x08000100);
    config.Upgrade = UpgradeAnswer::Tftp;
    VirtualDevice device(config, Ip, SharedRegistry());
    QByteArray request = destination + source + Hex("0001 2513 00000000") + static_cast<char>(command);
    request += command == 2 ? Hex("0007 01 58 FFFF") : Hex("0007 00 FFFF");
    const DeviceAnswer answer = Ask(device, request);
    QCOMPARE(answer.Answered, answered);
    QCOMPARE(answer.Changed, answered && command == 2);
}

void TestVirtualDevice::upgradeFollowsWrittenAddress() {
    VirtualDevice device = Device(0x08000100);
    const DeviceAnswer moved = Ask(device, Request(CommandWrite, MacIdentity(Mac), Hex("0002 04 0A000005")));
    QVERIFY(moved.Changed);
    QVERIFY(!Ask(device, BuildUpgradeRequest(CommandImageUpgrade, Ip, 0x1325)).Answered);
    QVERIFY(Ask(device, BuildUpgradeRequest(CommandImageUpgrade, 0x0A000005, 0x1325)).Answered);
}

void TestVirtualDevice::splitReadAnsweredDatagramByDatagram() {
    const qint64 olg8a = 0x08000100;
    VirtualDevice device = Device(olg8a);
    const SplitRequest request =
        BuildSplitRequest(SplitOperation::Read, WithIdentity(olg8a), SharedRegistry(), 0x1325);
    QCOMPARE(request.Datagrams.size(), std::size_t(5));
    QSet<int> answered;
    for (std::size_t k = 0; k < request.Datagrams.size(); ++k) {
        const DeviceAnswer answer = Ask(device, request.Datagrams[k]);
        QVERIFY(answer.Answered);
        const QList<int> ids = ReplyIds(answer.Datagram);
        QVERIFY(!ids.isEmpty());
        for (const int id : ids) {
            // Each reply carries the ids of its own request, closed by the end marker.
            QVERIFY2(id > static_cast<int>(100 * k) && id <= static_cast<int>(100 * (k + 1)),
                     qPrintable(QString::number(id)));
            answered.insert(id);
        }
    }
    int expected = 0;
    for (const auto& descriptor : device.Table())
        expected += descriptor.General ? 0 : 1;
    QCOMPARE(answered.size(), expected);
}

void TestVirtualDevice::malformedRequests_data() {
    QTest::addColumn<QByteArray>("tail"); // after the 25-byte header of a read to the broadcast identity
    QTest::addColumn<bool>("cutHeader");
    QTest::addColumn<QList<int>>("replyIds");
    QTest::newRow("shorter than a header") << QByteArray() << true << QList<int>{};
    QTest::newRow("header only, no end marker") << QByteArray() << false << QList<int>{};
    QTest::newRow("cut inside an id") << Hex("00") << false << QList<int>{};
    QTest::newRow("cut before a length") << Hex("0002") << false << QList<int>{};
    QTest::newRow("length past the end") << Hex("0002 05 01") << false << QList<int>{};
    QTest::newRow("items before a cut one") << Hex("0002 00 0005 00 0007 09") << false << QList<int>{2, 5};
    QTest::newRow("value in a read item") << Hex("0002 01 AA 0005 00 FFFF") << false << QList<int>{2, 5};
    QTest::newRow("ids no device has")
        << Hex("0000 00 03E7 00 FFFE 00 0010 00 FFFF") << false << QList<int>{};
    QTest::newRow("nothing after the end marker") << Hex("0002 00 FFFF 0005 00") << false << QList<int>{2};
    QTest::newRow("split read datagram") << Hex("0011 00 0012 00") << false << QList<int>{17, 18};
    // A request of the largest datagram asking for the name over and over: the reply holds the items that fit
    // in one datagram.
    const std::size_t nameItem = 3 + Device(0x08000100).Store().Value(7).AsText().size();
    const int fitting = static_cast<int>((65507 - HeaderSize - 2) / nameItem);
    QTest::newRow("reply capped at one datagram")
        << Hex("0007 00").repeated((65505 - 25) / 3) << false << QList<int>(fitting, 7);
}

void TestVirtualDevice::malformedRequests() {
    QFETCH(QByteArray, tail);
    QFETCH(bool, cutHeader);
    QFETCH(QList<int>, replyIds);
    VirtualDevice device = Device(0x08000100);
    QByteArray request = Request(CommandRead, BroadcastIdentity).left(HeaderSize) + tail;
    if (cutHeader)
        request.chop(1);
    // An exact-size copy, so that a read past the end shows under the sanitizers.
    const std::vector<std::uint8_t> bytes(request.begin(), request.end());
    const DeviceAnswer answer = device.Answer(bytes.data(), bytes.size());
    QCOMPARE(answer.Answered, !cutHeader);
    if (answer.Answered)
        QCOMPARE(ReplyIds(answer.Datagram), replyIds);
}

void TestVirtualDevice::randomDatagramsNeverBreakTheDevice() {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const auto& entry : SharedRegistry().Entries()) {
        VirtualDevice device = Device(entry.TypeCode);
        for (int round = 0; round < 2000; ++round) {
            std::vector<std::uint8_t> request(static_cast<std::size_t>(byte(random) + byte(random)));
            for (auto& b : request)
                b = static_cast<std::uint8_t>(byte(random));
            // Most datagrams get past the identity checks, so the item walk sees the garbage.
            if (request.size() >= HeaderSize && round % 4 != 0) {
                const DeviceIdentity destination = round % 2 ? BroadcastIdentity : MacIdentity(Mac);
                std::copy(destination.begin(), destination.end(), request.begin());
                std::fill(request.begin() + 8, request.begin() + 16, 0);
                request[CommandOffset] = static_cast<std::uint8_t>(1 + round % 2);
            }
            const DeviceAnswer answer = device.Answer(request.data(), request.size());
            if (!answer.Answered)
                continue;
            const QList<int> ids = ReplyIds(answer.Datagram);
            QVERIFY2(!ids.contains(-1), "a reply must be well-formed whatever the request");
        }
        // Garbage may have written values, but never read-only ones, and every value still fits its kind.
        QCOMPARE(static_cast<std::uint32_t>(device.Store().Value(13).AsInteger()), entry.TypeCode);
        QCOMPARE(device.Store().Value(5).AsText(), entry.Model);
        const DeviceAnswer discovery = Ask(device, BuildDiscoveryRequest(0x1325));
        QVERIFY(discovery.Answered);
        DecodeResult result{};
        Decode(discovery.Datagram, entry.TypeCode, &result);
        QCOMPARE(result, DecodeResult::Complete);
    }
}

void TestVirtualDevice::noAnswerStillActs() {
    VirtualDevice device = Device(0x08000100, "noanswer");
    QVERIFY(!Ask(device, BuildDiscoveryRequest(0x1325)).Answered);
    const DeviceAnswer write = Ask(device, Request(CommandWrite, MacIdentity(Mac), Hex("0007 03 414243")));
    QVERIFY(!write.Answered);
    QVERIFY(write.Changed);
    QCOMPARE(device.Store().Value(7).AsText(), std::string("ABC"));
}

void TestVirtualDevice::droppedRequestsAreNotActedOn() {
    VirtualDevice device = Device(0x08000100, "drop=1");
    QVERIFY(!Ask(device, BuildDiscoveryRequest(0x1325)).Answered);
    const DeviceAnswer write = Ask(device, Request(CommandWrite, MacIdentity(Mac), Hex("0007 03 414243")));
    QVERIFY(!write.Answered);
    QVERIFY(!write.Changed);
    QCOMPARE(device.Store().Value(7).AsText(), std::string("Rack A"));
}

void TestVirtualDevice::dropShare() {
    VirtualDevice device = Device(0x08000100, "drop=0.25");
    int answered = 0;
    for (int i = 0; i < 2000; ++i)
        answered += Ask(device, BuildDiscoveryRequest(0x1325)).Answered ? 1 : 0;
    QVERIFY2(answered > 1350 && answered < 1650, qPrintable(QString::number(answered)));
}

void TestVirtualDevice::delay() {
    VirtualDevice device = Device(0x08000100, "delay=250");
    const DeviceAnswer answer = Ask(device, BuildDiscoveryRequest(0x1325));
    QVERIFY(answer.Answered);
    QCOMPARE(answer.DelayMs, 250);
}

void TestVirtualDevice::spoiledReplies_data() {
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("garbled") << QByteArray("garbled");
    QTest::newRow("truncated") << QByteArray("truncated");
    QTest::newRow("wrong lengths") << QByteArray("wronglengths");
    QTest::newRow("non-MAC identity") << QByteArray("nonmac");
}

void TestVirtualDevice::spoiledReplies() {
    QFETCH(QByteArray, fault);
    VirtualDevice clean = Device(0x08000100);
    VirtualDevice spoiled = Device(0x08000100, fault.constData());
    const TSendBuf request = BuildDiscoveryRequest(0x1325);
    const QByteArray good = Bytes(Ask(clean, request).Datagram);
    for (int round = 0; round < 50; ++round) {
        const DeviceAnswer answer = Ask(spoiled, request);
        QVERIFY(answer.Answered);
        const QByteArray bad = Bytes(answer.Datagram);
        QVERIFY(bad != good);
        const TOLG record = Decode(answer.Datagram, -1);
        if (fault == "garbled") {
            QCOMPARE(bad.size(), good.size());
            QCOMPARE(bad.left(16), good.left(16));
        } else if (fault == "truncated") {
            QVERIFY(!bad.isEmpty());
            QVERIFY(good.startsWith(bad));
        } else if (fault == "wronglengths") {
            QCOMPARE(bad.size(), good.size());
            // Not one of the values reaches the record as sent.
            QVERIFY(!(record.Value(2) == ParamValue::Integer(static_cast<std::int32_t>(Ip))));
            QVERIFY(!(record.Value(13) == ParamValue::Integer(0x08000100)));
        } else {
            QCOMPARE(bad.mid(8, 8), Hex("0002C0A8010ACCA5"));
            QCOMPARE(bad.left(8) + bad.mid(16), good.left(8) + good.mid(16));
        }
    }
}

void TestVirtualDevice::fleet() {
    const auto fleet =
        FleetGenerator::Generate(3 * SharedRegistry().Count() + 2, 5, 0x0A420010u, {}, SharedRegistry());
    QSet<quint64> macs;
    QSet<QByteArray> names, firmware;
    QSet<quint32> addresses;
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        // Models cycle through the registered types in registration order, from the first number on.
        QCOMPARE(fleet[i].TypeCode, SharedRegistry().Entry(static_cast<int>((5 + i) % 11)).TypeCode);
        macs.insert(fleet[i].Mac);
        names.insert(QByteArray::fromStdString(fleet[i].Name));
        firmware.insert(QByteArray::fromStdString(fleet[i].Firmware));
        QVERIFY(fleet[i].Ip.has_value());
        QVERIFY((*fleet[i].Ip & 0xFF) != 0 && (*fleet[i].Ip & 0xFF) != 0xFF);
        addresses.insert(*fleet[i].Ip);
    }
    const auto count = static_cast<qsizetype>(fleet.size());
    QCOMPARE(macs.size(), count);
    QCOMPARE(names.size(), count);
    QCOMPARE(firmware.size(), count);
    QCOMPARE(addresses.size(), count);
    // Two fleets started apart share no MAC.
    const auto next =
        FleetGenerator::Generate(4, 5 + static_cast<int>(count), std::nullopt, {}, SharedRegistry());
    for (const auto& config : next)
        QVERIFY(!macs.contains(config.Mac));
    QCOMPARE(FleetGenerator::NthHostAddress(0x0A0000FD, 2), 0x0A000101u); // .253, .254, (.255, .0 skipped) .1
}

QTEST_GUILESS_MAIN(TestVirtualDevice)
#include "test_virtual_device.moc"
