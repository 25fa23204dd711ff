// olgctl on the lab LAN: run by scripts/netlab in its host namespace, with the default exchange settings, so
// its requests are real broadcasts to 255.255.255.255 that reach simulators in three device namespaces. It
// refuses to run anywhere else, so it can never broadcast on a real network.

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace olg::testing;

namespace {

// What the simulator that last changed stores, by parameter id, for the device answering from this address.
// Every simulator of the lab writes the same file, so after a write it holds the written device's simulator.
QJsonObject Stored(const QString& address, const QString& field = QStringLiteral("params")) {
    QFile file(qEnvironmentVariable("OLG_LAB_STATE"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonArray devices =
        QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue& device : devices) {
        if (device[QStringLiteral("ip")].toString() == address)
            return device[field].toObject();
    }
    return {};
}

} // namespace

class TestOlgctlLab : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void scanListsEveryNamespace();
    void writeThenRead_data();
    void writeThenRead();
    void upgradeImage();
};

void TestOlgctlLab::initTestCase() {
    QString why;
    if (!InsideTheLab(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to broadcast: ") + why));
    QVERIFY(!qEnvironmentVariableIsEmpty("OLG_LAB_STATE"));
}

void TestOlgctlLab::scanListsEveryNamespace() {
    const ProgramResult result =
        RunProgram(QStringLiteral("olgctl"),
                   {QStringLiteral("scan"), QStringLiteral("--format"), QStringLiteral("json")});
    QCOMPARE(result.ExitCode, 0);
    QSet<QString> listed;
    for (const QJsonValue& device : QJsonDocument::fromJson(result.Out.toUtf8()).array())
        listed.insert(device[QStringLiteral("ip")].toString());
    const QStringList expected = qEnvironmentVariable("NETLAB_DEVICE_ADDRESSES").split(QLatin1Char(' '));
    QCOMPARE(expected.size(), 3);
    QCOMPARE(listed, QSet<QString>(expected.begin(), expected.end()));
}

void TestOlgctlLab::writeThenRead_data() {
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QJsonValue>("stored");

    // The second namespace's device is an olg4a.
    QTest::newRow("general write of the name")
        << QStringLiteral("7=Lab shelf") << QStringLiteral("7") << QJsonValue(QStringLiteral("Lab shelf"));
    QTest::newRow("full write of a restart delay")
        << QStringLiteral("72=30") << QStringLiteral("72") << QJsonValue(30);
}

void TestOlgctlLab::writeThenRead() {
    QFETCH(QString, assignment);
    QFETCH(QString, id);
    QFETCH(QJsonValue, stored);

    const QString device = qEnvironmentVariable("NETLAB_DEVICE_ADDRESSES").split(QLatin1Char(' ')).value(1);
    const ProgramResult written =
        RunProgram(QStringLiteral("olgctl"), {QStringLiteral("write"), device, assignment});
    QCOMPARE(written.Err, QString());
    QCOMPARE(written.ExitCode, 0);
    QTRY_COMPARE_WITH_TIMEOUT(Stored(device).value(id), stored, 10000);

    const ProgramResult read =
        RunProgram(QStringLiteral("olgctl"),
                   {QStringLiteral("read"), device, QStringLiteral("--format"), QStringLiteral("json")});
    QCOMPARE(read.ExitCode, 0);
    bool shown = false;
    for (const QJsonValue& row : QJsonDocument::fromJson(read.Out.toUtf8()).array()) {
        if (row[QStringLiteral("id")].toInt() == id.toInt())
            shown = row[QStringLiteral("value")].toString() ==
                    (stored.isString() ? stored.toString() : QString::number(stored.toInt()));
    }
    QVERIFY2(shown, qPrintable(read.Out));
}

void TestOlgctlLab::upgradeImage() {
    // A request by real broadcast, then TFTP to port 69 of the device's own address, and the read-back.
    const QString device = qEnvironmentVariable("NETLAB_DEVICE_ADDRESSES").split(QLatin1Char(' ')).value(2);
    QTemporaryDir dir;
    QFile image(dir.filePath(QStringLiteral("fw.bin")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.write(QByteArray(100000, 'i'));
    image.close();
    const ProgramResult result =
        RunProgram(QStringLiteral("olgctl"),
                   {QStringLiteral("upgrade"), device, image.fileName(), QStringLiteral("--yes")});
    QVERIFY2(result.ExitCode == 0, qPrintable(result.Err));
    QVERIFY2(result.Out.endsWith(QStringLiteral(": image sent and read back the same\n")),
             qPrintable(result.Out));
    QTRY_COMPARE_WITH_TIMEOUT(
        Stored(device, QStringLiteral("tftpImage")).value(QStringLiteral("size")).toInt(), 100000, 10000);
}

QTEST_GUILESS_MAIN(TestOlgctlLab)
#include "test_olgctl_lab.moc"
