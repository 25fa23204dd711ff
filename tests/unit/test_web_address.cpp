// The address of a device's home and administration pages.

#include "TConfigDevice.h"
#include "WebAddress.h"

#include <QTest>

using namespace olg;

class TestWebAddress : public QObject {
    Q_OBJECT

private slots:
    void address_data();
    void address();
};

void TestWebAddress::address_data() {
    QTest::addColumn<int>("scheme");
    QTest::addColumn<qint64>("port");
    QTest::addColumn<qint64>("flags");
    QTest::addColumn<bool>("admin");
    QTest::addColumn<QByteArray>("expected");

    const int https = WebSchemeHttps, http = WebSchemeHttp, byFlags = WebSchemeByFlags;
    // clang-format off
    QTest::newRow("port 80")                    << http    << 80LL   << 0LL    << false << QByteArray("http://10.0.0.5/");
    QTest::newRow("port never reported")        << http    << 0LL    << 0LL    << false << QByteArray("http://10.0.0.5/");
    QTest::newRow("port 8080")                  << http    << 8080LL << 0LL    << false << QByteArray("http://10.0.0.5:8080/");
    QTest::newRow("port 8080, administration")  << http    << 8080LL << 0LL    << true  << QByteArray("http://10.0.0.5:8080/sysadmin.htm");
    QTest::newRow("http only ignores the flag") << http    << 81LL   << 0x80LL << false << QByteArray("http://10.0.0.5:81/");
    QTest::newRow("https only, port dropped")   << https   << 8080LL << 0LL    << false << QByteArray("https://10.0.0.5/");
    QTest::newRow("by flags 0x81, port 8080")   << byFlags << 8080LL << 0x81LL << false << QByteArray("https://10.0.0.5/");
    QTest::newRow("by flags 0x81, admin")       << byFlags << 8080LL << 0x81LL << true  << QByteArray("https://10.0.0.5/sysadmin.htm");
    QTest::newRow("by flags 0x01, port 81")     << byFlags << 81LL   << 0x01LL << false << QByteArray("http://10.0.0.5:81/");
    // clang-format on
}

void TestWebAddress::address() {
    QFETCH(int, scheme);
    QFETCH(qint64, port);
    QFETCH(qint64, flags);
    QFETCH(bool, admin);
    QFETCH(QByteArray, expected);
    const std::string url = WebAddress("10.0.0.5", port, flags, static_cast<std::uint8_t>(scheme),
                                       admin ? WebPage::Administration : WebPage::Home);
    QCOMPARE(QByteArray::fromStdString(url), expected);
}

QTEST_GUILESS_MAIN(TestWebAddress)
#include "test_web_address.moc"
