// olgctl save and load from the outside, against the simulator on loopback: a configuration of every model
// goes into a file and back into another device of the same type code with every byte of every text, and
// what does not fit is refused without a change.

#include "ParamDescriptor.h"
#include "SimulatedLan.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace olg;
using olg::testing::ProgramResult;
using olg::testing::SharedRegistry;

namespace {

// Every byte a profile line can carry (all but NUL, LF and CR), in one text of 253 bytes.
QString EveryByte() {
    QString text;
    for (int byte = 1; byte <= 0xFF; ++byte)
        if (byte != '\n' && byte != '\r')
            text.append(QChar(byte));
    return text;
}

// Device 2i is the source of type i with awkward texts, device 2i + 1 the destination with generated ones.
QString Mac(int device) {
    return QStringLiteral("00-0A-95-00-00-%1").arg(device + 1, 2, 16, QLatin1Char('0')).toUpper();
}

const QString ForeignSection = QStringLiteral("; notes\r\n[olgX]\r\n13=1\r\n7=kept\r\n");

} // namespace

class TestOlgctlConfig : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTripEveryModel();
    void refused_data();
    void refused();

private:
    QJsonObject Stored(const QString& mac) const;
    QByteArray StateBytes() const;
    QStringList Exchange(const QStringList& arguments) const;
    // Runs olgctl once per argument list, all at once, so that the scans overlap.
    QList<ProgramResult> RunAll(const QList<QStringList>& runs) const;
    QString File(int type) const { return dir_.filePath(QStringLiteral("type%1.cfg").arg(type)); }

    QTemporaryDir dir_;
    std::unique_ptr<SimulatedLan> lan_;
};

void TestOlgctlConfig::initTestCase() {
    QJsonArray devices;
    const DeviceRegistry& registry = SharedRegistry();
    for (int type = 0; type < registry.Count(); ++type) {
        const QString code =
            QStringLiteral("0x%1").arg(registry.Entry(type).TypeCode, 8, 16, QLatin1Char('0'));
        devices.append(
            QJsonObject{{QStringLiteral("type"), code},
                        {QStringLiteral("mac"), Mac(2 * type)},
                        {QStringLiteral("params"),
                         QJsonObject{{QStringLiteral("7"), QStringLiteral("  Caf\u00e9 \"q\" =;[x]\t ")},
                                     {QStringLiteral("8"), QStringLiteral("'quoted'")},
                                     {QStringLiteral("9"), EveryByte()}}}});
        devices.append(
            QJsonObject{{QStringLiteral("type"), code}, {QStringLiteral("mac"), Mac(2 * type + 1)}});
    }
    QFile config(dir_.filePath(QStringLiteral("lan.json")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QJsonDocument(QJsonObject{{QStringLiteral("devices"), devices}}).toJson());
    config.close();
    lan_ = std::make_unique<SimulatedLan>();
    QString error;
    QVERIFY2(lan_->StartSimulator({QStringLiteral("--config"), config.fileName(), QStringLiteral("--state"),
                                   dir_.filePath(QStringLiteral("state.json"))},
                                  &error),
             qPrintable(error));
    QTRY_VERIFY(!Stored(Mac(2 * registry.Count() - 1)).isEmpty());
}

QByteArray TestOlgctlConfig::StateBytes() const {
    QFile file(dir_.filePath(QStringLiteral("state.json")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject TestOlgctlConfig::Stored(const QString& mac) const {
    for (const QJsonValue& device :
         QJsonDocument::fromJson(StateBytes()).object().value(QStringLiteral("devices")).toArray()) {
        if (device[QStringLiteral("mac")].toString() == mac)
            return device[QStringLiteral("params")].toObject();
    }
    return {};
}

QStringList TestOlgctlConfig::Exchange(const QStringList& arguments) const {
    return QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                       QStringLiteral("127.0.0.1:%1").arg(lan_->Port())} +
           arguments;
}

QList<ProgramResult> TestOlgctlConfig::RunAll(const QList<QStringList>& runs) const {
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QStringList& arguments : runs) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("olgctl")),
            Exchange(arguments));
    }
    QList<ProgramResult> results;
    for (const auto& process : processes) {
        // The event loop is not needed: the simulator is a process of its own.
        if (!process->waitForFinished(60000)) {
            process->kill();
            process->waitForFinished();
            results.append(ProgramResult{});
            continue;
        }
        results.append(ProgramResult{process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                                     QString::fromUtf8(process->readAllStandardOutput()),
                                     QString::fromUtf8(process->readAllStandardError())});
    }
    return results;
}

void TestOlgctlConfig::roundTripEveryModel() {
    const DeviceRegistry& registry = SharedRegistry();
    QList<QStringList> saves, loads;
    for (int type = 0; type < registry.Count(); ++type) {
        QFile file(File(type));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ForeignSection.toLatin1());
        file.close();
        saves.append({QStringLiteral("save"), Mac(2 * type), File(type)});
        loads.append({QStringLiteral("load"), Mac(2 * type + 1), File(type)});
    }
    for (const ProgramResult& result : RunAll(saves))
        QVERIFY2(result.ExitCode == 0, qPrintable(result.Err));

    for (int type = 0; type < registry.Count(); ++type) {
        QFile file(File(type));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // The other section stays; the device's section follows with its keys in ascending order.
        QVERIFY(bytes.startsWith(ForeignSection.toLatin1()));
        const QList<QByteArray> lines = bytes.mid(ForeignSection.size()).split('\n');
        QCOMPARE(lines.front(), QByteArray("[") + registry.Entry(type).Model.c_str() + "]\r");
        int previous = 0;
        for (const QByteArray& line : lines.mid(1, lines.size() - 2)) {
            const int id = line.left(line.indexOf('=')).toInt();
            QVERIFY2(id > previous && id != 10, line.constData());
            previous = id;
        }
        QCOMPARE(previous, int(registry.MaxParamId(ParamValue::Integer(registry.Entry(type).TypeCode))));
    }

    const QList<ProgramResult> loaded = RunAll(loads);
    for (int type = 0; type < registry.Count(); ++type) {
        QVERIFY2(loaded[type].ExitCode == 0, qPrintable(loaded[type].Err));
        // Every parameter the write sends now holds, byte for byte, what the source device holds.
        const QJsonObject source = Stored(Mac(2 * type));
        const QJsonObject destination = Stored(Mac(2 * type + 1));
        const ParamValue code = ParamValue::Integer(registry.Entry(type).TypeCode);
        int compared = 0;
        for (const ParamDescriptor& descriptor : registry.Entry(type).Params) {
            if (descriptor.Access == AccessRead)
                continue;
            const QString id = QString::number(descriptor.Id);
            QCOMPARE(destination.value(id), source.value(id));
            ++compared;
        }
        QVERIFY(compared > 10);
        QCOMPARE(destination.value(QStringLiteral("9")).toString(), EveryByte());
    }
}

void TestOlgctlConfig::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    // Type 7 and 8 are two olg8w type codes: the same model name, another type code.
    QTest::newRow("other type code, same model name")
        << QStringList{QStringLiteral("load"), Mac(2 * 8), File(7)} << 1
        << QStringLiteral("olgctl: Config file not compatible with destination device\n");
    QTest::newRow("another model's file")
        << QStringList{QStringLiteral("load"), Mac(2 * 1), File(0)} << 1
        << QStringLiteral("olgctl: Config file not compatible with destination device\n");
    QTest::newRow("two equal logins, as the dialog refuses them")
        << QStringList{QStringLiteral("load"), Mac(1), dir_.filePath(QStringLiteral("logins.cfg"))} << 1
        << QStringLiteral("olgctl: 'quoted' : Logins must be different!\n");
    QTest::newRow("missing file") << QStringList{QStringLiteral("load"), Mac(0),
                                                 dir_.filePath(QStringLiteral("none"))}
                                  << 1 << QStringLiteral("olgctl: Cannot read");
    QTest::newRow("dry run") << QStringList{QStringLiteral("load"), Mac(1), File(0),
                                            QStringLiteral("--dry-run"), QStringLiteral("--format=csv")}
                             << 0 << QString();
    QTest::newRow("save without file") << QStringList{QStringLiteral("save"), Mac(0)} << 2
                                       << QStringLiteral("olgctl: save takes a DEVICE and a FILE");
    QTest::newRow("dry run of a save")
        << QStringList{QStringLiteral("save"), Mac(0), File(0), QStringLiteral("--dry-run")} << 2
        << QStringLiteral("olgctl: --dry-run belongs to load");
}

void TestOlgctlConfig::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    // The round trip left its files; a dry run of one on the other device of its type lists no change.
    QFile file(File(0));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The olg1n file with its hidden page's login (18) made equal to the administrator's (8).
    QFile logins(dir_.filePath(QStringLiteral("logins.cfg")));
    QVERIFY(logins.open(QIODevice::WriteOnly));
    QByteArray bytes = file.readAll();
    const qsizetype start = bytes.indexOf("\r\n18=") + 2;
    bytes.replace(start, bytes.indexOf('\r', start) - start, "18=\"'quoted'\"");
    logins.write(bytes);
    logins.close();
    const QByteArray state = StateBytes();
    const ProgramResult result = RunAll({arguments}).front();
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2(result.Err.startsWith(message), qPrintable(result.Err));
    QCOMPARE(StateBytes(), state);
    if (exitCode == 0)
        QCOMPARE(result.Out, QStringLiteral("Id,Old value,New value\n"));
}

QTEST_GUILESS_MAIN(TestOlgctlConfig)
#include "test_olgctl_config.moc"
