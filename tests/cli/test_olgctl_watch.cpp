// olgctl watch against a simulated LAN whose devices go silent, come back and change while it watches.

#include "SimulatedLan.h"

#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Times count from the simulator's first request, the watch's first broadcast. At one second apart the
// 2.5 s scans follow each other: scan k runs from about 2.52 k to 2.52 k + 2.5 s, and every action falls
// well inside a scan, so that the scan sees the device before (silent) or after (answer, set) it.
const char* const Script = "0 silent 00-0A-95-9D-68-18\n"
                           "1.3 silent 00-0A-95-9D-68-17\n"
                           "3.8 answer 00-0A-95-9D-68-18\n"
                           "8.8 answer 00-0A-95-9D-68-17\n"
                           "8.8 set 00-0A-95-9D-68-16 name=Hall,ip=127.0.0.40\n";

} // namespace

class TestOlgctlWatch : public QObject {
    Q_OBJECT

private slots:
    void eventsAsTheyHappen();
};

void TestOlgctlWatch::eventsAsTheyHappen() {
    QTemporaryDir dir;
    QFile script(dir.filePath(QStringLiteral("lan.script")));
    QVERIFY(script.open(QIODevice::WriteOnly) && script.write(Script) > 0);
    script.close();
    olg::SimulatedLan lan;
    QString error;
    QVERIFY2(lan.StartSimulator(
                 {QStringLiteral("--device"), QStringLiteral("mac=00-0A-95-9D-68-16,name=Lobby rack"),
                  QStringLiteral("--device"), QStringLiteral("mac=00-0A-95-9D-68-17,name=Print shop"),
                  QStringLiteral("--device"), QStringLiteral("mac=00-0A-95-9D-68-18,name=Caf\u00e9"),
                  QStringLiteral("--script"), script.fileName()},
                 &error),
             qPrintable(error));

    QProcess watch;
    watch.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("olgctl")),
                {QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                 QStringLiteral("127.0.0.1:%1").arg(lan.Port()), QStringLiteral("watch"),
                 QStringLiteral("--format"), QStringLiteral("jsonl"), QStringLiteral("--interval"),
                 QStringLiteral("1")});
    QList<QJsonObject> events;
    QObject::connect(&watch, &QProcess::readyReadStandardOutput, &watch, [&] {
        while (watch.canReadLine())
            events.append(QJsonDocument::fromJson(watch.readLine()).object());
    });
    // Each line arrives while the watch goes on: nothing waits in a buffer.
    QTRY_VERIFY_WITH_TIMEOUT(events.size() >= 6, 30000);
    QCOMPARE(watch.state(), QProcess::Running);
    watch.terminate();
    QVERIFY(watch.waitForFinished(10000));
    QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
    QCOMPARE(watch.exitCode(), 0);

    const QStringList expected{QStringLiteral("appeared 00.0A.95.9D.68.16 127.0.0.10 Lobby rack"),
                               QStringLiteral("appeared 00.0A.95.9D.68.17 127.0.0.11 Print shop"),
                               QStringLiteral("appeared 00.0A.95.9D.68.18 127.0.0.12 Caf\u00e9"),
                               QStringLiteral("offline 00.0A.95.9D.68.17 127.0.0.11 Print shop"),
                               QStringLiteral("changed 00.0A.95.9D.68.16 127.0.0.40 Hall"),
                               QStringLiteral("back 00.0A.95.9D.68.17 127.0.0.11 Print shop")};
    QStringList told;
    for (const QJsonObject& event : events) {
        told << QStringList{event[QStringLiteral("event")].toString(),
                            event[QStringLiteral("mac")].toString(), event[QStringLiteral("ip")].toString(),
                            event[QStringLiteral("name")].toString()}
                    .join(QLatin1Char(' '));
        // The scan's fields are all there, with an ISO 8601 time.
        for (const char* key : {"type", "typeCode", "firmware", "interface", "conflict"})
            QVERIFY2(event.contains(QLatin1String(key)), key);
        QVERIFY(QDateTime::fromString(event[QStringLiteral("time")].toString(), Qt::ISODate).isValid());
    }
    QCOMPARE(told.mid(0, 6), expected);
    QCOMPARE(
        events[4][QStringLiteral("changes")].toObject(),
        QJsonObject(
            {{QStringLiteral("ip"), QJsonObject({{QStringLiteral("old"), QStringLiteral("127.0.0.10")},
                                                 {QStringLiteral("new"), QStringLiteral("127.0.0.40")}})},
             {QStringLiteral("name"), QJsonObject({{QStringLiteral("old"), QStringLiteral("Lobby rack")},
                                                   {QStringLiteral("new"), QStringLiteral("Hall")}})}}));
    // Offline tells when the device last answered: the first scan.
    QCOMPARE(events[3][QStringLiteral("lastSeen")], events[0][QStringLiteral("time")]);
}

QTEST_GUILESS_MAIN(TestOlgctlWatch)
#include "test_olgctl_watch.moc"
