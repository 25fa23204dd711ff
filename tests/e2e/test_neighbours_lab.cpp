// The system neighbour table, changed for real: run by scripts/netlab in its host namespace, whose table is
// its own, so the machine's table is never touched. It refuses to run anywhere else.

#include "IpNeighbourCache.h"
#include "TestSupport.h"

#include <QProcess>
#include <QTest>

using namespace olg;
using namespace olg::testing;

namespace {

const QString StaleMac = QStringLiteral("02:00:00:00:00:99");

QString Ip(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ip"), arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestNeighboursLab : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void dropEntry_data();
    void dropEntry();
};

void TestNeighboursLab::initTestCase() {
    QString why;
    if (!InsideTheLab(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to change a neighbour table: ") + why));
}

void TestNeighboursLab::dropEntry_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("dropped");
    QTest::newRow("the device's address") << QString() << true;
    QTest::newRow("not an address") << QStringLiteral("10.66.0.x") << false;
    QTest::newRow("an option") << QStringLiteral("-all") << false;
}

void TestNeighboursLab::dropEntry() {
    QFETCH(QString, given);
    QFETCH(bool, dropped);
    const QString address = qEnvironmentVariable("NETLAB_DEVICE_ADDRESSES").section(QLatin1Char(' '), 0, 0);
    // A stale entry, as one left by hardware that had the address before (permanent ones are never flushed).
    Ip({QStringLiteral("neigh"), QStringLiteral("replace"), address, QStringLiteral("lladdr"), StaleMac,
        QStringLiteral("dev"), QStringLiteral("eth0"), QStringLiteral("nud"), QStringLiteral("stale")});
    const QStringList show{QStringLiteral("neigh"), QStringLiteral("show"), QStringLiteral("to"), address};
    QVERIFY(Ip(show).contains(StaleMac));

    IpNeighbourCache().DropEntry(given.isEmpty() ? address : given);
    QCOMPARE(Ip(show).contains(StaleMac), !dropped);
}

QTEST_GUILESS_MAIN(TestNeighboursLab)
#include "test_neighbours_lab.moc"
