// Dotted address texts: the lenient conversions and the strict validation with its messages.

#include "FirmwareVersion.h"
#include "IPAddrUtils.h"
#include "IpText.h"

#include <QTest>

using namespace olg;

namespace {

std::string_view View(const QByteArray& text) {
    return std::string_view(text.constData(), std::size_t(text.size()));
}

// The message ValidateIPString raises for the text, or an empty text when it accepts it.
QByteArray ValidationError(const QByteArray& text) {
    try {
        ValidateIPString(View(text));
    } catch (const IPStringError& error) {
        return QByteArray(error.what());
    }
    return {};
}

} // namespace

class TestIpText : public QObject {
    Q_OBJECT

private slots:
    void ipToText_data();
    void ipToText();
    void textToIp_data();
    void textToIp();
    void validate_data();
    void validate();
    void octet_data();
    void octet();
    void piece_data();
    void piece();
    void firmwareVersion_data();
    void firmwareVersion();
};

void TestIpText::ipToText_data() {
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0u << QByteArray("0.0.0.0");
    QTest::newRow("all ones") << 0xFFFFFFFFu << QByteArray("255.255.255.255");
    QTest::newRow("private") << 0xC0A8010Au << QByteArray("192.168.1.10");
    QTest::newRow("first octet high") << 0x0A010203u << QByteArray("10.1.2.3");
    QTest::newRow("version") << 0x01040000u << QByteArray("1.4.0.0");
    QTest::newRow("zeros inside") << 0x00FF0001u << QByteArray("0.255.0.1");
}

void TestIpText::ipToText() {
    QFETCH(quint32, address);
    QFETCH(QByteArray, text);

    QCOMPARE(QByteArray::fromStdString(IpToText(address)), text);
    QCOMPARE(TextToIp(View(text)), address);
}

void TestIpText::textToIp_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("address");

    // clang-format off
    QTest::newRow("plain")                 << QByteArray("10.1.2.3")        << 0x0A010203u;
    QTest::newRow("zero")                  << QByteArray("0.0.0.0")         << 0u;
    QTest::newRow("empty")                 << QByteArray("")                << 0u;
    QTest::newRow("all ones")              << QByteArray("255.255.255.255") << 0xFFFFFFFFu;
    QTest::newRow("version 1.4")           << QByteArray("1.4.0.0")         << 0x01040000u;
    QTest::newRow("version 1.2")           << QByteArray("1.2.0.0")         << 0x01020000u;
    QTest::newRow("fourth out of range")   << QByteArray("10.1.2.300")      << 0x0A010200u;
    QTest::newRow("fourth is 256")         << QByteArray("192.168.1.256")   << 0xC0A80100u;
    QTest::newRow("third is 256")          << QByteArray("192.168.256.1")   << 0xC0A80000u;
    QTest::newRow("second negative")       << QByteArray("10.-1.2.3")       << 0x0A000000u;
    QTest::newRow("first out of range")    << QByteArray("300.1.2.3")       << 0u;
    QTest::newRow("first negative")        << QByteArray("-1.0.0.0")        << 0u;
    QTest::newRow("three pieces")          << QByteArray("10.1.2")          << 0u;
    QTest::newRow("five pieces")           << QByteArray("1.2.3.4.5")       << 0u;
    QTest::newRow("empty piece")           << QByteArray("10..0.1")         << 0u;
    QTest::newRow("empty last piece")      << QByteArray("10.0.0.")         << 0u;
    QTest::newRow("letters")               << QByteArray("10.0.0.x")        << 0u;
    QTest::newRow("trailing space")        << QByteArray("10.0.0.1 ")       << 0u;
    QTest::newRow("no dot")                << QByteArray("12")              << 0u;
    QTest::newRow("beyond 32 bits")        << QByteArray("99999999999.1.2.3") << 0u;
    QTest::newRow("leading zeros")         << QByteArray("010.001.000.009") << 0x0A010009u;
    QTest::newRow("plus sign")             << QByteArray("+10.1.2.3")       << 0x0A010203u;
    // clang-format on
}

void TestIpText::textToIp() {
    QFETCH(QByteArray, text);
    QFETCH(quint32, address);

    QCOMPARE(TextToIp(View(text)), address);
}

void TestIpText::validate_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("message"); // empty: accepted
    QTest::addColumn<bool>("assertion");     // the message carries the source position

    // clang-format off
    QTest::newRow("zero")             << QByteArray("0.0.0.0")          << QByteArray() << false;
    QTest::newRow("all ones")         << QByteArray("255.255.255.255")  << QByteArray() << false;
    QTest::newRow("private")          << QByteArray("192.168.1.10")     << QByteArray() << false;
    QTest::newRow("leading zero")     << QByteArray("010.0.0.1")        << QByteArray("Leading zero not allowed. IPAddressString[010.0.0.1]") << false;
    QTest::newRow("double zero")      << QByteArray("0.0.0.00")         << QByteArray("Leading zero not allowed. IPAddressString[0.0.0.00]") << false;
    QTest::newRow("two dots")         << QByteArray("10.0.0")           << QByteArray("Must include exactly 3 dots! [10.0.0]") << true;
    QTest::newRow("four dots")        << QByteArray("1.2.3.4.5")        << QByteArray("Must include exactly 3 dots! [1.2.3.4.5]") << true;
    QTest::newRow("empty")            << QByteArray("")                 << QByteArray("Must include exactly 3 dots! []") << true;
    QTest::newRow("empty piece")      << QByteArray("10..0.1")          << QByteArray("IPAddress must include 4 pieces of length 1..3. IPAddressString[10..0.1]") << false;
    QTest::newRow("empty first")      << QByteArray(".1.2.3")           << QByteArray("IPAddress must include 4 pieces of length 1..3. IPAddressString[.1.2.3]") << false;
    QTest::newRow("empty last")       << QByteArray("1.2.3.")           << QByteArray("IPAddress must include 4 pieces of length 1..3. IPAddressString[1.2.3.]") << false;
    QTest::newRow("four digits")      << QByteArray("10.0.0.1000")      << QByteArray("IPAddress must include 4 pieces of length 1..3. IPAddressString[10.0.0.1000]") << false;
    QTest::newRow("range")            << QByteArray("10.0.0.256")       << QByteArray("Triplets must be of range 0..255  IPAddressString[10.0.0.256]") << false;
    QTest::newRow("illegal symbol")   << QByteArray("10.0.a.1")         << QByteArray("IP Address contains illegal symbols. IPAddressString[10.0.a.1]") << false;
    QTest::newRow("minus sign")       << QByteArray("-1.0.0.0")         << QByteArray("IP Address contains illegal symbols. IPAddressString[-1.0.0.0]") << false;
    QTest::newRow("space")            << QByteArray(" 1.2.3.4")         << QByteArray("IP Address contains illegal symbols. IPAddressString[ 1.2.3.4]") << false;
    QTest::newRow("range before symbol") << QByteArray("256.0.0.a")     << QByteArray("Triplets must be of range 0..255  IPAddressString[256.0.0.a]") << false;
    QTest::newRow("symbol before range") << QByteArray("a.0.0.256")     << QByteArray("IP Address contains illegal symbols. IPAddressString[a.0.0.256]") << false;
    QTest::newRow("pieces before symbols") << QByteArray("a.0.0.1000")  << QByteArray("IPAddress must include 4 pieces of length 1..3. IPAddressString[a.0.0.1000]") << false;
    QTest::newRow("16 characters")    << QByteArray("192.168.100.1000") << QByteArray("Illegal length for IPString![192.168.100.1000(16)]") << true;
    QTest::newRow("length before dots") << QByteArray("1234567890123456") << QByteArray("Illegal length for IPString![1234567890123456(16)]") << true;
    // clang-format on
}

void TestIpText::validate() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, message);
    QFETCH(bool, assertion);

    const QByteArray error = ValidationError(text);
    if (!assertion) {
        QCOMPARE(error, message);
        return;
    }
    // An assertion failure adds where it failed after the message.
    QVERIFY2(error.startsWith(message + " (IPAddrUtils, line "), error.constData());
    QVERIFY(error.endsWith(')'));
}

void TestIpText::octet_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("octet"); // -1: raises

    QTest::newRow("first") << QByteArray("10.20.30.40") << 1 << 10;
    QTest::newRow("third") << QByteArray("10.20.30.40") << 3 << 30;
    QTest::newRow("fourth") << QByteArray("10.20.30.40") << 4 << 40;
    QTest::newRow("fifth") << QByteArray("10.20.30.40") << 5 << 0;
    QTest::newRow("zeroth") << QByteArray("10.20.30.40") << 0 << 0;
    QTest::newRow("all ones") << QByteArray("255.255.255.255") << 2 << 255;
    QTest::newRow("invalid text") << QByteArray("10.20.30") << 1 << -1;
    QTest::newRow("invalid text, other n") << QByteArray("10.20.30.400") << 5 << -1;
}

void TestIpText::octet() {
    QFETCH(QByteArray, text);
    QFETCH(int, n);
    QFETCH(int, octet);

    if (octet < 0) {
        QVERIFY_THROWS_EXCEPTION(IPStringError, GetIPOctet(View(text), n));
        return;
    }
    QCOMPARE(GetIPOctet(View(text), n), octet);
}

void TestIpText::piece_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("count");

    QTest::newRow("first") << QByteArray("a.bc.d") << 1 << '.' << QByteArray("a") << 2;
    QTest::newRow("middle") << QByteArray("a.bc.d") << 2 << '.' << QByteArray("bc") << 2;
    QTest::newRow("last") << QByteArray("a.bc.d") << 3 << '.' << QByteArray("d") << 2;
    QTest::newRow("beyond") << QByteArray("a.bc.d") << 4 << '.' << QByteArray() << 2;
    QTest::newRow("zeroth") << QByteArray("a.bc.d") << 0 << '.' << QByteArray() << 2;
    QTest::newRow("empty between") << QByteArray("a..d") << 2 << '.' << QByteArray() << 2;
    QTest::newRow("after empty") << QByteArray("a..d") << 3 << '.' << QByteArray("d") << 2;
    QTest::newRow("empty after last") << QByteArray("a.b.") << 3 << '.' << QByteArray() << 2;
    QTest::newRow("no separator") << QByteArray("abc") << 1 << '.' << QByteArray("abc") << 0;
    QTest::newRow("empty text") << QByteArray() << 1 << '.' << QByteArray() << 0;
    QTest::newRow("other separator") << QByteArray("00-0A-95") << 2 << '-' << QByteArray("0A") << 2;
    QTest::newRow("only separators") << QByteArray("...") << 4 << '.' << QByteArray() << 3;
}

void TestIpText::piece() {
    QFETCH(QByteArray, text);
    QFETCH(int, n);
    QFETCH(char, separator);
    QFETCH(QByteArray, piece);
    QFETCH(int, count);

    QCOMPARE(QByteArray::fromStdString(GetPiece(View(text), n, separator)), piece);
    QCOMPARE(CountChar(View(text), separator), count);
}

void TestIpText::firmwareVersion_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ignoreSuffix");
    QTest::addColumn<quint32>("version");

    QTest::newRow("threshold") << QByteArray("1.4.0.0") << false << 0x01040000u;
    QTest::newRow("just below") << QByteArray("1.3.9.9") << false << 0x01030909u;
    QTest::newRow("suffix ignored") << QByteArray("2.0.0.3 build 17") << true << 0x02000003u;
    QTest::newRow("suffix kept") << QByteArray("2.0.0.3 build 17") << false << 0u;
    QTest::newRow("no blank") << QByteArray("2.0.0.0") << true << 0x02000000u;
    QTest::newRow("leading blank") << QByteArray(" 2.0.0.3") << true << 0u;
    QTest::newRow("not a version") << QByteArray("beta") << true << 0u;
    QTest::newRow("three parts") << QByteArray("1.4.0") << false << 0u;
    QTest::newRow("empty text") << QByteArray("") << false << 0u;
}

void TestIpText::firmwareVersion() {
    QFETCH(QByteArray, text);
    QFETCH(bool, ignoreSuffix);
    QFETCH(quint32, version);

    QCOMPARE(FirmwareVersion(ParamValue::Text(View(text)), ignoreSuffix), version);
}

QTEST_GUILESS_MAIN(TestIpText)
#include "test_ip_text.moc"
