// olgctl save and load against the simulator on loopback: a configuration of every model goes into a file
// and back into another device of the same type code, every byte of every text intact.

#include "ParamDescriptor.h"
#include "SimulatedLan.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace olg;
using namespace olg::testing;

namespace {

// Every byte a profile line can carry (all but NUL, LF and CR): 253 bytes, one text.
QString EveryByte() {
    QString text;
    for (int byte = 1; byte <= 0xFF; ++byte)
        if (byte != '\n' && byte != '\r')
            text.append(QChar(byte));
    return text;
}

// Of type i, device 2i is the source with awkward texts, device 2i + 1 the destination.
QString Mac(int device) {
    return QStringLiteral("00-0A-95-00-00-%1").arg(device + 1, 2, 16, QLatin1Char('0')).toUpper();
}

const QByteArray ForeignSection = "; notes\r\n[olgX]\r\n13=1\r\n";

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
    // Runs olgctl once per argument list, all at once, so that their scans overlap.
    QList<ProgramResult> RunAll(const QList<QStringList>& runs) const;
    QString File(int type) const { return dir_.filePath(QStringLiteral("type%1.cfg").arg(type)); }

    QTemporaryDir dir_;
    SimulatedLan lan_;
};

void TestOlgctlConfig::initTestCase() {
    QJsonArray devices;
    const DeviceRegistry& registry = SharedRegistry();
    for (int type = 0; type < registry.Count(); ++type) {
        const QString code = QString::number(registry.Entry(type).TypeCode);
        const QJsonObject texts{{QStringLiteral("7"), QStringLiteral("  Caf\u00e9 \"q\" =;[x]\t ")},
                                {QStringLiteral("8"), QStringLiteral("'quoted'")},
                                {QStringLiteral("9"), EveryByte()}};
        devices.append(QJsonObject{{QStringLiteral("type"), code},
                                   {QStringLiteral("mac"), Mac(2 * type)},
                                   {QStringLiteral("params"), texts}});
        devices.append(
            QJsonObject{{QStringLiteral("type"), code}, {QStringLiteral("mac"), Mac(2 * type + 1)}});
    }
    QFile config(dir_.filePath(QStringLiteral("lan.json")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QJsonDocument(QJsonObject{{QStringLiteral("devices"), devices}}).toJson());
    config.close();
    QString error;
    QVERIFY2(lan_.StartSimulator({QStringLiteral("--config"), config.fileName(), QStringLiteral("--state"),
                                  dir_.filePath(QStringLiteral("state.json"))},
                                 &error),
             qPrintable(error));
    QTRY_VERIFY(!Stored(Mac(2 * registry.Count() - 1)).isEmpty());
}

QJsonObject TestOlgctlConfig::Stored(const QString& mac) const {
    QFile file(dir_.filePath(QStringLiteral("state.json")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue& device :
         QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray()) {
        if (device[QStringLiteral("mac")].toString() == mac)
            return device[QStringLiteral("params")].toObject();
    }
    return {};
}

QList<ProgramResult> TestOlgctlConfig::RunAll(const QList<QStringList>& runs) const {
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QStringList& arguments : runs) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("olgctl")),
            QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                        QStringLiteral("127.0.0.1:%1").arg(lan_.Port())} +
                arguments);
    }
    QList<ProgramResult> results;
    for (const auto& process : processes) {
        if (!process->waitForFinished(60000))
            process->kill();
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
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ForeignSection) == ForeignSection.size());
        saves.append({QStringLiteral("save"), Mac(2 * type), File(type)});
        loads.append({QStringLiteral("load"), Mac(2 * type + 1), File(type)});
    }
    for (const ProgramResult& result : RunAll(saves))
        QVERIFY2(result.ExitCode == 0, qPrintable(result.Err));

    for (int type = 0; type < registry.Count(); ++type) {
        QFile file(File(type));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // Another model's section stays; the device's follows, with its keys in ascending order and no "10".
        QVERIFY(bytes.startsWith(ForeignSection + "[" + registry.Entry(type).Model.c_str() + "]\r\n"));
        const QList<QByteArray> lines = bytes.mid(ForeignSection.size()).trimmed().split('\n');
        int previous = 0;
        for (const QByteArray& line : lines.mid(1)) {
            const int id = line.left(line.indexOf('=')).toInt();
            QVERIFY2(id > previous && id != 10, line.constData());
            previous = id;
        }
        QCOMPARE(previous, int(registry.MaxParamId(ParamValue::Integer(registry.Entry(type).TypeCode))));
    }

    const QList<ProgramResult> loaded = RunAll(loads);
    for (int type = 0; type < registry.Count(); ++type) {
        QVERIFY2(loaded[type].ExitCode == 0, qPrintable(loaded[type].Err));
        // Every parameter the full write sends holds, byte for byte, what the source device holds.
        const QJsonObject source = Stored(Mac(2 * type));
        const QJsonObject destination = Stored(Mac(2 * type + 1));
        for (const ParamDescriptor& descriptor : registry.Entry(type).Params) {
            const QString id = QString::number(descriptor.Id);
            if (descriptor.Access != AccessRead)
                QCOMPARE(destination.value(id), source.value(id));
        }
        QCOMPARE(destination.value(QStringLiteral("9")).toString(), EveryByte());
    }
}

void TestOlgctlConfig::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("line"); // edited.cfg is the olg1n file with this line
    QTest::addColumn<QByteArray>("edit"); // replaced by this
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");

    const QString notCompatible =
        QStringLiteral("olgctl: Config file not compatible with destination device\n");
    const QString edited = dir_.filePath(QStringLiteral("edited.cfg"));
    const QStringList load{QStringLiteral("load"), Mac(1), edited};
    const QString notLoaded = QStringLiteral("; the file was not loaded\n");
    // Types 7 and 8 are two olg8w type codes: the same model name, another type code.
    QTest::newRow("same model name, other type code")
        << QStringList{QStringLiteral("load"), Mac(2 * 8), File(7)} << QByteArray() << QByteArray() << 1
        << notCompatible;
    QTest::newRow("dry run: the load has happened")
        << QStringList{QStringLiteral("load"), Mac(1), File(0), QStringLiteral("--dry-run"),
                       QStringLiteral("--format=csv")}
        << QByteArray() << QByteArray() << 0 << QString();
    // The hidden page's login (18) equal to the first (8).
    QTest::newRow("two equal logins, as the dialog refuses them")
        << load << QByteArray("\r\n18=") << QByteArray("\r\n18=\"'quoted'\"\r\nx=") << 1
        << QStringLiteral("olgctl: 'quoted' : Logins must be different!\n");
    QTest::newRow("an address that is none")
        << load << QByteArray("\r\n2=") << QByteArray("\r\n2=999.1.1.1\r\nx=") << 1
        << QStringLiteral("olgctl: %1: parameter 2: \"999.1.1.1\" is not an IPv4 address (four numbers 0-255 "
                          "joined by dots)%2")
               .arg(edited, notLoaded);
    QTest::newRow("dry run: the same refusal")
        << load + QStringList{QStringLiteral("--dry-run")} << QByteArray("\r\n2=")
        << QByteArray("\r\n2=999.1.1.1\r\nx=") << 1
        << QStringLiteral("olgctl: %1: parameter 2: ").arg(edited);
    QTest::newRow("no gateway")
        << load << QByteArray("\r\n3=") << QByteArray("\r\nx=") << 1
        << QStringLiteral("olgctl: %1: parameter 3: the file holds no value for it%2").arg(edited, notLoaded);
    QTest::newRow("a 16-bit number out of range")
        << load << QByteArray("\r\n22=") << QByteArray("\r\n22=65536\r\nx=") << 1
        << QStringLiteral("olgctl: %1: parameter 22: \"65536\" is not a number from 0 to 65535%2")
               .arg(edited, notLoaded);
    QTest::newRow("a NUL byte in a text")
        << load << QByteArray("\r\n7=") << QByteArray("\r\n7=a\0b\r\nx=", 11) << 1
        << QStringLiteral("olgctl: %1: parameter 7 holds a line break or a NUL byte").arg(edited);
    QTest::newRow("dry run: a password masked")
        << load + QStringList{QStringLiteral("--dry-run"), QStringLiteral("--format=csv")}
        << QByteArray("\r\n9=") << QByteArray("\r\n9=secret\r\nx=") << 0 << QString();
    // The file's address (edited here) and name stay out of several devices; its other values are the
    // device's own, so nothing changes.
    const QStringList both{QStringLiteral("load"), Mac(0), Mac(1), edited, QStringLiteral("--yes")};
    QTest::newRow("several devices keep address and name")
        << both << QByteArray("\r\n2=") << QByteArray("\r\n2=10.9.9.9\r\nx=") << 0 << QString();
    QTest::newRow("one address for two devices")
        << both + QStringList{QStringLiteral("--with-address")} << QByteArray() << QByteArray() << 2
        << QStringLiteral("olgctl: --with-address would give ");
    QTest::newRow("dry run of a save")
        << QStringList{QStringLiteral("save"), Mac(0), File(0), QStringLiteral("--dry-run")} << QByteArray()
        << QByteArray() << 2 << QStringLiteral("olgctl: --dry-run belongs to load and apply");
}

void TestOlgctlConfig::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, edit);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    // The olg1n file of the round trip, with one line changed.
    QFile file(File(0));
    QFile edited(dir_.filePath(QStringLiteral("edited.cfg")));
    QVERIFY(file.open(QIODevice::ReadOnly) && edited.open(QIODevice::WriteOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(line.isEmpty() || bytes.contains(line));
    edited.write(line.isEmpty() ? bytes : QByteArray(bytes).replace(line, edit));
    edited.close();
    const QJsonObject before = Stored(arguments[1]);
    const ProgramResult result = RunAll({arguments}).front();
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2(result.Err.startsWith(err), qPrintable(result.Err));
    QCOMPARE(Stored(arguments[1]), before);
    if (arguments.contains(QStringLiteral("--dry-run")) && exitCode == 0)
        QVERIFY2(result.Out.startsWith(QStringLiteral("Id,Name,Old value,New value\n")) &&
                     !result.Out.contains(QStringLiteral("secret")),
                 qPrintable(result.Out));
}

QTEST_GUILESS_MAIN(TestOlgctlConfig)
#include "test_olgctl_config.moc"
