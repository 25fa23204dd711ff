// The neighbour table changed for real, in the lab's host namespace (scripts/netlab), whose table is its own.

#include "IpNeighbourCache.h"
#include "TestSupport.h"

#include <QTest>

using namespace olg;

class TestNeighboursLab : public QObject {
    Q_OBJECT

private slots:
    void dropEntry();
};

void TestNeighboursLab::dropEntry() {
    QString why;
    if (!olg::testing::InsideTheLab(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to change a neighbour table: ") + why));
    const QString address = qEnvironmentVariable("NETLAB_DEVICE_ADDRESSES").section(QLatin1Char(' '), 0, 0);
    const auto stale = [&] {
        QProcess ip;
        ip.start(QStringLiteral("ip"),
                 {QStringLiteral("neigh"), QStringLiteral("show"), QStringLiteral("to"), address});
        ip.waitForFinished();
        return ip.readAllStandardOutput().contains("02:00:00:00:00:99");
    };
    // A stale entry, as hardware that had the address before leaves it; only a well-formed address is used.
    QProcess::execute(QStringLiteral("ip"),
                      QStringLiteral("neigh replace %1 lladdr 02:00:00:00:00:99 dev eth0 nud stale")
                          .arg(address)
                          .split(QLatin1Char(' ')));
    IpNeighbourCache().DropEntry(QStringLiteral("-all"));
    IpNeighbourCache().DropEntry(address + QStringLiteral(" x"));
    QVERIFY(stale());
    IpNeighbourCache().DropEntry(address);
    QVERIFY(!stale());
}

QTEST_GUILESS_MAIN(TestNeighboursLab)
#include "test_neighbours_lab.moc"
