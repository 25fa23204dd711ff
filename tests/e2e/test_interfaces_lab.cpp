// olgctl on a host with two interfaces on two subnets, run by scripts/netlab --second-subnet: one scan finds
// the devices behind both, although the system routes 255.255.255.255 out of eth0 only, and a request to one
// device leaves through the interface it answered on. It refuses to run anywhere but inside the lab.

#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTest>

using namespace olg::testing;

namespace {

QStringList Addresses(const char* variable) {
    return qEnvironmentVariable(variable).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestInterfacesLab : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void scan_data();
    void scan();
    void writeThenReadBehindTheSecondInterface();
};

void TestInterfacesLab::initTestCase() {
    QString why;
    if (!InsideTheLab(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to broadcast: ") + why));
    QVERIFY(!Addresses("NETLAB_SECOND_ADDRESSES").isEmpty());
}

void TestInterfacesLab::scan_data() {
    QTest::addColumn<QStringList>("limit");
    QTest::addColumn<QStringList>("interfaces");

    QTest::newRow("every interface") << QStringList{}
                                     << QStringList{QStringLiteral("eth0"), QStringLiteral("eth1")};
    QTest::newRow("the second only") << QStringList{QStringLiteral("--interface"), QStringLiteral("eth1")}
                                     << QStringList{QStringLiteral("eth1")};
    QTest::newRow("both named") << QStringList{QStringLiteral("--interface"), QStringLiteral("eth1"),
                                               QStringLiteral("--interface"), QStringLiteral("eth0")}
                                << QStringList{QStringLiteral("eth0"), QStringLiteral("eth1")};
}

void TestInterfacesLab::scan() {
    QFETCH(QStringList, limit);
    QFETCH(QStringList, interfaces);

    const QStringList second = Addresses("NETLAB_SECOND_ADDRESSES");
    QMap<QString, QString> expected;
    for (const QString& address : Addresses("NETLAB_DEVICE_ADDRESSES")) {
        const QString interface = second.contains(address) ? QStringLiteral("eth1") : QStringLiteral("eth0");
        if (interfaces.contains(interface))
            expected.insert(address, interface);
    }
    const ProgramResult result = RunProgram(
        QStringLiteral("olgctl"),
        QStringList{QStringLiteral("scan"), QStringLiteral("--format"), QStringLiteral("json")} + limit);
    QCOMPARE(result.ExitCode, 0);
    QCOMPARE(result.Err, QString());
    QMap<QString, QString> listed;
    for (const QJsonValue& device : QJsonDocument::fromJson(result.Out.toUtf8()).array()) {
        QCOMPARE(device[QStringLiteral("conflict")].toString(), QString());
        listed.insert(device[QStringLiteral("ip")].toString(),
                      device[QStringLiteral("interface")].toString());
    }
    QCOMPARE(listed, expected);
}

void TestInterfacesLab::writeThenReadBehindTheSecondInterface() {
    const QString device = Addresses("NETLAB_SECOND_ADDRESSES").constFirst();
    const ProgramResult written =
        RunProgram(QStringLiteral("olgctl"), {QStringLiteral("write"), device, QStringLiteral("7=Far side")});
    QCOMPARE(written.Err, QString());
    QCOMPARE(written.ExitCode, 0);

    const ProgramResult read =
        RunProgram(QStringLiteral("olgctl"),
                   {QStringLiteral("read"), device, QStringLiteral("--format"), QStringLiteral("json")});
    QCOMPARE(read.ExitCode, 0);
    QString name;
    for (const QJsonValue& row : QJsonDocument::fromJson(read.Out.toUtf8()).array()) {
        if (row[QStringLiteral("id")].toInt() == 7)
            name = row[QStringLiteral("value")].toString();
    }
    QCOMPARE(name, QStringLiteral("Far side"));
}

QTEST_GUILESS_MAIN(TestInterfacesLab)
#include "test_interfaces_lab.moc"
