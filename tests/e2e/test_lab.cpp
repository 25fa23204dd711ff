// Real broadcasts on the lab LAN: run by scripts/netlab in its host namespace, with simulators answering from
// device namespaces. It refuses to run anywhere else, so it can never broadcast on a real network.

#include "Datagram.h"
#include "DeviceRegistry.h"
#include "MacAddress.h"
#include "ReplyDecoder.h"
#include "TestSupport.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QSet>
#include <QTest>
#include <QUdpSocket>

using namespace olg;
using namespace olg::testing;

namespace {

constexpr int ReplyTimeoutMs = 10000;

TOLG Decode(const QByteArray& reply) {
    TOLG record;
    DecodeReplyItems(reinterpret_cast<const std::uint8_t*>(reply.constData()),
                     static_cast<std::size_t>(reply.size()), record, SharedRegistry());
    return record;
}

// The Finder's socket: port 52389 with broadcast, dropping what comes from its own addresses.
class LabSocket {
public:
    bool Bind() {
        QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
            const QList<QHostAddress> own = QNetworkInterface::allAddresses();
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = socket_.receiveDatagram();
                if (!own.contains(datagram.senderAddress()))
                    received_.push_back(datagram);
            }
        });
        return socket_.bind(QHostAddress::AnyIPv4, DevicePort, QUdpSocket::ShareAddress);
    }
    void Broadcast(const QByteArray& datagram) {
        socket_.writeDatagram(datagram, QHostAddress::Broadcast, DevicePort);
    }
    const QList<QNetworkDatagram>& Received() const { return received_; }
    qsizetype Count() const { return received_.size(); }

private:
    QUdpSocket socket_;
    QList<QNetworkDatagram> received_;
};

} // namespace

class TestLab : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void discoveryByBroadcast();
    void upgradeRequestReachesOneDevice_data();
    void upgradeRequestReachesOneDevice();
    void writeThenReadOneDevice();

private:
    QStringList addresses_;
};

void TestLab::initTestCase() {
    QString why;
    if (!InsideTheLab(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to broadcast: ") + why));
    addresses_ = qEnvironmentVariable("NETLAB_DEVICE_ADDRESSES").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QVERIFY(addresses_.size() >= 2);
}

void TestLab::discoveryByBroadcast() {
    LabSocket socket;
    QVERIFY(socket.Bind());
    socket.Broadcast(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)));
    QTRY_COMPARE_WITH_TIMEOUT(socket.Count(), addresses_.size(), ReplyTimeoutMs);
    QSet<QString> sources;
    QSet<QByteArray> identities;
    for (const QNetworkDatagram& reply : socket.Received()) {
        // In real mode each device answers from its own address, from the device port.
        const TOLG record = Decode(reply.data());
        QCOMPARE(QHostAddress(static_cast<quint32>(record.Value(2).AsInteger())), reply.senderAddress());
        QCOMPARE(reply.senderPort(), static_cast<int>(DevicePort));
        sources.insert(reply.senderAddress().toString());
        identities.insert(reply.data().mid(8, 8));
    }
    QCOMPARE(sources, QSet<QString>(addresses_.begin(), addresses_.end()));
    QCOMPARE(identities.size(), addresses_.size());
}

void TestLab::upgradeRequestReachesOneDevice_data() {
    QTest::addColumn<int>("device");
    QTest::newRow("first namespace") << 0;
    QTest::newRow("second namespace") << static_cast<int>(addresses_.size() - 1);
}

void TestLab::upgradeRequestReachesOneDevice() {
    QFETCH(int, device);
    const QHostAddress target(addresses_[device]);
    LabSocket socket;
    QVERIFY(socket.Bind());
    // The request goes to everyone; only the device with that address identity answers. A discovery right
    // behind it is answered by all: once those answers are in, any other upgrade answer would be in too.
    socket.Broadcast(
        Bytes(BuildUpgradeRequest(CommandImageUpgrade, target.toIPv4Address(), DefaultDistributorCode)));
    socket.Broadcast(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)));
    QTRY_COMPARE_WITH_TIMEOUT(socket.Count(), addresses_.size() + 1, ReplyTimeoutMs);
    int upgradeAnswers = 0;
    for (const QNetworkDatagram& reply : socket.Received()) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(reply.data().constData());
        const UpgradeMode mode =
            ParseUpgradeReply(bytes, static_cast<std::size_t>(reply.data().size()), CommandImageUpgrade);
        if (mode == UpgradeMode::None)
            continue;
        ++upgradeAnswers;
        QCOMPARE(reply.senderAddress(), target);
    }
    QCOMPARE(upgradeAnswers, 1);
}

void TestLab::writeThenReadOneDevice() {
    LabSocket socket;
    QVERIFY(socket.Bind());
    socket.Broadcast(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)));
    QTRY_COMPARE_WITH_TIMEOUT(socket.Count(), addresses_.size(), ReplyTimeoutMs);
    const QNetworkDatagram chosen = socket.Received().last();
    DeviceIdentity identity{};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(chosen.data().constData()) + SourceOffset, 8,
                identity.begin());

    TSendBuf write;
    BuildHeader(write, CommandWrite, &identity, DefaultDistributorCode);
    const std::string name = "Lab rack";
    AppendItem(write, 7, reinterpret_cast<const std::uint8_t*>(name.data()), name.size());
    socket.Broadcast(Bytes(write));
    QTRY_COMPARE_WITH_TIMEOUT(socket.Count(), addresses_.size() + 1, ReplyTimeoutMs);
    QCOMPARE(socket.Received().last().senderAddress(), chosen.senderAddress());

    socket.Broadcast(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)));
    QTRY_COMPARE_WITH_TIMEOUT(socket.Count(), 2 * addresses_.size() + 1, ReplyTimeoutMs);
    int renamed = 0;
    for (qsizetype i = addresses_.size() + 1; i < socket.Count(); ++i) {
        const TOLG record = Decode(socket.Received()[i].data());
        if (record.Value(7).AsText() == name) {
            ++renamed;
            QCOMPARE(socket.Received()[i].senderAddress(), chosen.senderAddress());
        }
    }
    QCOMPARE(renamed, 1);
}

QTEST_GUILESS_MAIN(TestLab)
#include "test_lab.moc"
