// Decoding the items of device replies into a record, and the answers to the upgrade requests.

#include "ReplyDecoder.h"
#include "TestBytes.h"

#include <QTest>

using namespace olg;
using testbytes::Dump;
using testbytes::Hex;
using testbytes::ToBytes;
using testbytes::ToVector;

namespace {

constexpr qint64 NoType = -1;
constexpr qint64 Olg4a = 0x04000100;
constexpr qint64 Olg4n = 0x04010100;
constexpr qint64 Olg8w = 0x08030200;

// A reply header from device 00:0A:95:9D:68:16. Bytes 16-24 are never examined by the decoder,
// so they hold garbage here.
QByteArray ReplyHeader() {
    return Hex("00 00 00 00 00 00 00 00  00 01 00 0A 95 9D 68 16  EE EE EE EE EE EE EE EE EE");
}

// The record before decoding: parameter 2 is 10.0.0.1 and parameter 7 the text "old".
TOLG Before(qint64 typeCode) {
    TOLG record;
    if (typeCode != NoType)
        record.SetValue(13, ParamValue::Integer(typeCode));
    record.SetValue(2, ParamValue::Integer(0x0A000001));
    record.SetValue(7, ParamValue::Text("old"));
    return record;
}

enum ValueKind { Empty, Number, Text };

} // namespace

class TestReplyDecoder : public QObject {
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void tooShort();
    void upgradeReply_data();
    void upgradeReply();
};

void TestReplyDecoder::decode_data() {
    QTest::addColumn<qint64>("typeCode");
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("valueKind");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QByteArray>("text");

    const int complete = int(DecodeResult::Complete);
    const int truncated = int(DecodeResult::Truncated);
    const QByteArray shortIp = Hex("00 02 03 C0 A8 01  00 07 02 41 42  FF FF");
    const QByteArray unknownFirst = Hex("00 38 03 61 62 63  00 0D 04 04 00 01 00  FF FF");
    const QByteArray typeFirst = Hex("00 0D 04 04 00 01 00  00 38 03 61 62 63  FF FF");
    const QByteArray cutValue = Hex("00 07 01 41  00 09 05 42");

    // clang-format off
    QTest::newRow("ip") << Olg4n << Hex("00 02 04 C0 A8 01 0A FF FF") << complete << 2 << int(Number) << qint64(qint32(0xC0A8010A)) << QByteArray();
    QTest::newRow("ip of 3 bytes unchanged") << Olg4n << shortIp << complete << 2 << int(Number) << qint64(0x0A000001) << QByteArray();
    QTest::newRow("ip of 3 bytes, next item") << Olg4n << shortIp << complete << 7 << int(Text) << qint64(0) << QByteArray("AB");
    QTest::newRow("ip of 5 bytes unchanged") << Olg4n << Hex("00 02 05 C0 A8 01 0A 0B FF FF") << complete << 2 << int(Number) << qint64(0x0A000001) << QByteArray();
    QTest::newRow("ip of unregistered type") << NoType << Hex("00 02 04 0A 01 02 03 FF FF") << complete << 2 << int(Number) << qint64(0x0A010203) << QByteArray();
    QTest::newRow("gateway of 0 bytes") << Olg4n << Hex("00 03 00 FF FF") << complete << 3 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("empty text") << Olg4n << Hex("00 07 00 FF FF") << complete << 7 << int(Text) << qint64(0) << QByteArray();
    QTest::newRow("text bytes kept") << Olg4n << Hex("00 07 06 00 41 FF E9 0D 00 FF FF") << complete << 7 << int(Text) << qint64(0) << Hex("00 41 FF E9 0D 00");
    QTest::newRow("text of 255 bytes") << Olg4n << Hex("00 07 FF") + QByteArray(255, '\xA0') + Hex("FF FF") << complete << 7 << int(Text) << qint64(0) << QByteArray(255, '\xA0');
    QTest::newRow("u8") << Olg4n << Hex("00 06 01 91 FF FF") << complete << 6 << int(Number) << qint64(0x91) << QByteArray();
    QTest::newRow("u8 of 2 bytes") << Olg4n << Hex("00 06 02 00 91 FF FF") << complete << 6 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("u16") << Olg4n << Hex("00 04 02 1F 90 FF FF") << complete << 4 << int(Number) << qint64(8080) << QByteArray();
    QTest::newRow("u16 unsigned") << Olg4n << Hex("00 04 02 FF FF FF FF") << complete << 4 << int(Number) << qint64(65535) << QByteArray();
    QTest::newRow("u16 of 1 byte") << Olg4n << Hex("00 04 01 50 FF FF") << complete << 4 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("u32 bit pattern") << Olg4n << Hex("00 51 04 FF FF FF FE FF FF") << complete << 81 << int(Number) << qint64(-2) << QByteArray();
    QTest::newRow("u32 of 2 bytes") << Olg4n << Hex("00 51 02 00 01 FF FF") << complete << 81 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("six bytes") << Olg4n << Hex("00 0A 06 00 0A 95 9D 68 16 FF FF") << complete << 10 << int(Number) << qint64(0x000A959D6816) << QByteArray();
    QTest::newRow("six bytes unsigned") << Olg4n << Hex("00 0A 06 FF FF FF FF FF FF FF FF") << complete << 10 << int(Number) << qint64(0xFFFFFFFFFFFF) << QByteArray();
    QTest::newRow("six bytes of 4") << Olg4n << Hex("00 0A 04 9D 68 16 00 FF FF") << complete << 10 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("login of unregistered type") << NoType << Hex("00 08 03 61 62 63 FF FF") << complete << 8 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("id not in table") << Olg4n << Hex("00 10 01 05 FF FF") << complete << 16 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("dns of olg4n is built in") << Olg4n << Hex("00 0E 04 08 08 04 04 FF FF") << complete << 14 << int(Number) << qint64(0x08080404) << QByteArray();
    QTest::newRow("id 0 skipped") << Olg4n << Hex("00 00 02 05 06 00 07 01 41 FF FF") << complete << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("id above 999 skipped") << Olg4n << Hex("03 E8 01 05 00 07 01 41 FF FF") << complete << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("type code first") << NoType << typeFirst << complete << 56 << int(Text) << qint64(0) << QByteArray("abc");
    QTest::newRow("type code stored") << NoType << typeFirst << complete << 13 << int(Number) << Olg4a << QByteArray();
    QTest::newRow("model id before type code") << NoType << unknownFirst << complete << 56 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("type code changes table") << Olg8w << typeFirst << complete << 56 << int(Text) << qint64(0) << QByteArray("abc");
    QTest::newRow("type code of 2 bytes") << NoType << Hex("00 0D 02 04 00  00 38 01 61 FF FF") << complete << 56 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("items after end marker") << Olg4n << Hex("00 07 01 41  FF FF  00 09 01 42") << complete << 9 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("cut in a value, kept") << Olg4n << cutValue << truncated << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("cut in a value, dropped") << Olg4n << cutValue << truncated << 9 << int(Empty) << qint64(0) << QByteArray();
    QTest::newRow("cut after the id") << Olg4n << Hex("00 07 01 41  00 09") << truncated << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("cut in the id") << Olg4n << Hex("00 07 01 41  00") << truncated << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("half an end marker") << Olg4n << Hex("00 07 01 41  FF") << truncated << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("no end marker") << Olg4n << Hex("00 07 01 41") << truncated << 7 << int(Text) << qint64(0) << QByteArray("A");
    QTest::newRow("header only") << Olg4n << QByteArray() << truncated << 7 << int(Text) << qint64(0) << QByteArray("old");
    QTest::newRow("end marker only") << Olg4n << Hex("FF FF") << complete << 2 << int(Number) << qint64(0x0A000001) << QByteArray();
    QTest::newRow("length past the end") << Olg4n << Hex("00 07 FF 41 42") << truncated << 7 << int(Text) << qint64(0) << QByteArray("old");
    // clang-format on
}

void TestReplyDecoder::decode() {
    QFETCH(qint64, typeCode);
    QFETCH(QByteArray, items);
    QFETCH(int, result);
    QFETCH(int, id);
    QFETCH(int, valueKind);
    QFETCH(qint64, number);
    QFETCH(QByteArray, text);

    const DeviceRegistry registry = StandardRegistry();
    TOLG record = Before(typeCode);
    // An exact-size buffer: reading one byte too far is caught under the sanitizers.
    const std::vector<std::uint8_t> datagram = ToVector(ReplyHeader() + items);
    QCOMPARE(int(DecodeReplyItems(datagram.data(), datagram.size(), record, registry)), result);

    const ParamValue& value = record.Value(id);
    QCOMPARE(value.IsEmpty(), valueKind == Empty);
    QCOMPARE(value.IsInteger(), valueKind == Number);
    QCOMPARE(value.IsText(), valueKind == Text);
    if (valueKind == Number)
        QCOMPARE(value.AsInteger(), number);
    if (valueKind == Text)
        QCOMPARE(Dump(ToBytes(value.AsText())), Dump(text));
    // Decoding only stores values: identity, MAC and sender stay the caller's business.
    QCOMPARE(record.Identity, DeviceIdentity{});
    QCOMPARE(record.Mac, std::uint64_t(0));
}

void TestReplyDecoder::tooShort() {
    const DeviceRegistry registry = StandardRegistry();
    const QByteArray full = ReplyHeader() + Hex("00 07 01 41 FF FF");
    for (int size = 0; size < 25; ++size) {
        TOLG record = Before(Olg4n);
        const TOLG before = record;
        const std::vector<std::uint8_t> datagram = ToVector(full.left(size));
        QCOMPARE(DecodeReplyItems(datagram.data(), datagram.size(), record, registry),
                 DecodeResult::TooShort);
        QVERIFY(record == before);
    }
}

void TestReplyDecoder::upgradeReply_data() {
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("mode");

    // Header bytes 0-22 of an answer; the decoder looks at bytes 23 to 26 only.
    const QByteArray head = Hex("00 00 00 00 00 00 00 00 00 02 C0 A8 01 0A CC A5 00 01 25 13 00 00 00");
    const QByteArray other = Hex("11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 00 11 22 33 44 55 66 77");
    const int none = int(UpgradeMode::None);
    // clang-format off
    QTest::newRow("image by tftp")        << head + Hex("00 03 FF FE")       << 3 << int(UpgradeMode::TftpImage);
    QTest::newRow("image by ftp")         << head + Hex("00 03 FF FD")       << 3 << int(UpgradeMode::FtpImage);
    QTest::newRow("file set by ftp")      << head + Hex("00 04 FF FC")       << 4 << int(UpgradeMode::FtpFileSet);
    QTest::newRow("other header bytes")   << other + Hex("00 03 FF FE")      << 3 << int(UpgradeMode::TftpImage);
    QTest::newRow("trailing bytes")       << head + Hex("00 03 FF FD 00 07") << 3 << int(UpgradeMode::FtpImage);
    QTest::newRow("file set to command 3") << head + Hex("00 03 FF FC")      << 3 << none;
    QTest::newRow("tftp to command 4")    << head + Hex("00 04 FF FE")       << 4 << none;
    QTest::newRow("command mismatch")     << head + Hex("00 04 FF FE")       << 3 << none;
    QTest::newRow("byte 23 set")          << head + Hex("01 03 FF FE")       << 3 << none;
    QTest::newRow("byte 25 not FF")       << head + Hex("00 03 FE FE")       << 3 << none;
    QTest::newRow("end marker")           << head + Hex("00 03 FF FF")       << 3 << none;
    QTest::newRow("26 bytes")             << head + Hex("00 03 FF")          << 3 << none;
    QTest::newRow("empty")                << QByteArray()                     << 3 << none;
    // clang-format on
}

void TestReplyDecoder::upgradeReply() {
    QFETCH(QByteArray, datagram);
    QFETCH(int, command);
    QFETCH(int, mode);

    const std::vector<std::uint8_t> bytes = ToVector(datagram);
    QCOMPARE(int(ParseUpgradeReply(bytes.data(), bytes.size(), std::uint8_t(command))), mode);
}

QTEST_GUILESS_MAIN(TestReplyDecoder)
#include "test_reply_decoder.moc"
