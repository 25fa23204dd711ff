// Following devices from scan to scan: appeared, changed, offline after two silent scans, back, forgotten.

#include "DeviceWatch.h"

#include <QStringList>
#include <QTest>

using namespace olg;

namespace {

// "B" is device B as it usually answers; "B:name=X", "B:ip=X", "B:fw=X" change one field for that scan.
TOLG Record(const QString& token) {
    const QStringList parts = token.split(QLatin1Char(':'));
    const char letter = parts[0].at(0).toLatin1();
    TOLG record;
    record.Identity = {0, 1, 0, 0x0A, 0x95, 0x9D, 0x68, static_cast<std::uint8_t>(letter)};
    record.SenderAddress = "10.0.0." + std::to_string(letter);
    record.SetValue(param::DeviceName, ParamValue::Text(std::string("Rack ") + letter));
    record.SetValue(param::Firmware, ParamValue::Text("1.0"));
    for (const QString& change : parts.mid(1)) {
        const std::string value = change.section(QLatin1Char('='), 1).toStdString();
        if (change.startsWith(QLatin1String("ip=")))
            record.SenderAddress = value;
        else
            record.SetValue(change.startsWith(QLatin1String("name=")) ? param::DeviceName : param::Firmware,
                            ParamValue::Text(value));
    }
    return record;
}

QString Letter(const WatchedDevice& device) {
    return QString(QLatin1Char(static_cast<char>(device.Record.Identity[7])));
}

} // namespace

class TestDeviceWatch : public QObject {
    Q_OBJECT

private slots:
    void scans_data();
    void scans();
};

void TestDeviceWatch::scans_data() {
    // Each scan lists the devices that answered it; "forget" forgets the offline devices instead, "rebuild"
    // the devices missing from the latest scan.
    // Events of a scan are joined by ", ", scans by " | ". The final state lists each device followed by
    // "-" when offline and "*" when new.
    QTest::addColumn<QStringList>("scans");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("state");
    QTest::newRow("first scan: all appear, in reply order")
        << QStringList{QStringLiteral("B A")} << QStringLiteral("appeared B, appeared A")
        << QStringLiteral("B* A*");
    QTest::newRow("one missed scan is no offline; new only for one scan")
        << QStringList{QStringLiteral("A B"), QStringLiteral("A"), QStringLiteral("A B C")}
        << QStringLiteral("appeared A, appeared B |  | appeared C") << QStringLiteral("A B C*");
    QTest::newRow("two missed scans: offline once, then back")
        << QStringList{QStringLiteral("A B"), QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A"),
                       QStringLiteral("B A")}
        << QStringLiteral("appeared A, appeared B |  | offline B |  | back B") << QStringLiteral("A B");
    QTest::newRow("address, name and firmware changes, old and new")
        << QStringList{QStringLiteral("A"), QStringLiteral("A:ip=10.0.0.99:name=Hall"),
                       QStringLiteral("A:ip=10.0.0.99:name=Hall:fw=2.0")}
        << QStringLiteral("appeared A | changed A address 10.0.0.65>10.0.0.99 name Rack A>Hall | changed A "
                          "firmware 1.0>2.0")
        << QStringLiteral("A");
    QTest::newRow("back with a new name: back, then changed")
        << QStringList{QStringLiteral("A"), QString(), QString(), QStringLiteral("A:name=Hall")}
        << QStringLiteral("appeared A |  | offline A | back A, changed A name Rack A>Hall")
        << QStringLiteral("A");
    QTest::newRow("answering devices first, then the offline ones")
        << QStringList{QStringLiteral("A B"), QStringLiteral("A"), QStringLiteral("C A")}
        << QStringLiteral("appeared A, appeared B |  | appeared C, offline B") << QStringLiteral("A B- C*");
    QTest::newRow("forget removes only the offline devices")
        << QStringList{QStringLiteral("A B C"), QStringLiteral("B"), QStringLiteral("B"),
                       QStringLiteral("forget"), QStringLiteral("A B")}
        << QStringLiteral("appeared A, appeared B, appeared C |  | offline A, offline C |  | appeared A")
        << QStringLiteral("B A*");
    QTest::newRow("a rebuilt list keeps only who answered its scan")
        << QStringList{QStringLiteral("A B C"), QStringLiteral("C B"), QStringLiteral("rebuild")}
        << QStringLiteral("appeared A, appeared B, appeared C |  | ") << QStringLiteral("B C");
}

void TestDeviceWatch::scans() {
    QFETCH(QStringList, scans);
    QFETCH(QString, events);
    QFETCH(QString, state);
    static const char* const Kinds[] = {"appeared", "changed", "offline", "back"};
    static const char* const Fields[] = {"address", "name", "firmware"};
    DeviceWatch watch;
    QStringList told;
    std::int64_t now = 0;
    for (const QString& scan : scans) {
        if (scan == QLatin1String("forget") || scan == QLatin1String("rebuild")) {
            scan == QLatin1String("forget") ? watch.ForgetOffline() : watch.ForgetMissing();
            told << QString();
            continue;
        }
        std::vector<TOLG> answered;
        for (const QString& token : scan.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            answered.push_back(Record(token));
        QStringList texts;
        for (const WatchEvent& event : watch.TakeScan(answered, now += 10000)) {
            QString text = QLatin1String(Kinds[static_cast<int>(event.What)]) + QLatin1Char(' ') +
                           Letter(watch.Devices()[static_cast<std::size_t>(event.Device)]);
            for (const FieldChange& change : event.Changes)
                text += QStringLiteral(" %1 %2>%3")
                            .arg(QLatin1String(Fields[static_cast<int>(change.What)]),
                                 QString::fromStdString(change.Old), QString::fromStdString(change.New));
            texts << text;
        }
        told << texts.join(QStringLiteral(", "));
    }
    QCOMPARE(told.join(QStringLiteral(" | ")), events);
    QStringList devices;
    for (const WatchedDevice& device : watch.Devices()) {
        devices << Letter(device) + (device.Online ? QString() : QStringLiteral("-")) +
                       (device.New ? QStringLiteral("*") : QString());
        QCOMPARE(device.Online, device.Missed < DeviceWatch::MissesUntilOffline);
        QCOMPARE(watch.Find(device.Record.Identity), static_cast<int>(devices.size() - 1));
    }
    QCOMPARE(devices.join(QLatin1Char(' ')), state);
}

QTEST_GUILESS_MAIN(TestDeviceWatch)
#include "test_device_watch.moc"
