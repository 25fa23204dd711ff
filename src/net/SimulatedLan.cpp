#include "SimulatedLan.h"

#include "DeviceRegistry.h"
#include "MacAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <array>
#include <csignal>
#include <optional>
#include <type_traits>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace olg {

namespace {

constexpr int ReadyTimeoutMs = 10000;
constexpr int StopTimeoutMs = 3000;

const QString ReadyPrefix = QStringLiteral("olgsim: ");
const QString ReadyMarker = QStringLiteral(" listening on ");

struct DemoDevice {
    int TypeIndex; // position in the device-type registry
    const char* Name;
    const char* Firmware;
};

// One device per registered type code, in registration order, then older firmware of the models whose
// configuration dialog depends on it, so that the demo shows every layout of every dialog.
constexpr std::array<DemoDevice, 16> DemoDevices{{
    {0, "Lobby rack", "1.4.0.0"},
    {1, "Server room A", "1.4.2.0"},
    {2, "Server room B", "1.5.0.0"},
    {3, "Print shop", "2.0.1.0"},
    {4, "Lab bench", "2.1.0.0"},
    {5, "Reception", "1.6.3.0"},
    {6, "Warehouse", "1.9.9.9"},
    {7, "Studio", "2.0.0.0"},
    {8, "Cold aisle", "2.0.0.3 build 17"},
    {9, "Boardroom", "2.0.0.2"},
    {10, "Kitchen", "3.4.2.0"},
    {0, "Porch", "1.3.9.9"},
    {1, "Archive", "1.1.9.9"},
    {2, "Workshop", "1.1.0.0"},
    {3, "Old wing", "1.1.9.9"},
    {4, "Garage", "1.0.7.0"},
}};

struct ReadyLine {
    int Devices = 0;
    quint16 Port = 0;
};

// "olgsim: N devices listening on 127.0.0.1:PORT", or nothing for any other line.
std::optional<ReadyLine> ParseReadyLine(const QString& line) {
    const qsizetype marker = line.indexOf(ReadyMarker);
    if (!line.startsWith(ReadyPrefix) || marker < 0)
        return std::nullopt;
    const std::optional<Endpoint> endpoint = ParseEndpoint(line.mid(marker + ReadyMarker.size()));
    bool ok = false;
    const int devices = line.mid(ReadyPrefix.size()).section(QLatin1Char(' '), 0, 0).toInt(&ok);
    if (!endpoint || !ok)
        return std::nullopt;
    return ReadyLine{devices, endpoint->Port};
}

// A port the system has just handed out as free: the devices' upgrade services take it on their own
// addresses, where ports 69 and 21 need privileges.
template <typename Socket> quint16 FreePort() {
    Socket socket;
    if constexpr (std::is_same_v<Socket, QTcpServer>)
        socket.listen(QHostAddress(QHostAddress::LocalHost), 0);
    else
        socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    if constexpr (std::is_same_v<Socket, QTcpServer>)
        return socket.serverPort();
    else
        return socket.localPort();
}

} // namespace

SimulatedLan::SimulatedLan(QObject* parent) : QObject(parent) {
#ifdef Q_OS_LINUX
    // Runs in the child between fork and exec: the simulator gets SIGTERM when this process dies, even by
    // SIGKILL, so no orphan keeps the port. If the parent is already gone, the child ends at once.
    const pid_t parentPid = getpid();
    process_.setChildProcessModifier([parentPid] {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parentPid)
            _exit(1);
    });
#endif
    // Its errors are worth seeing; its normal output is read below.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SimulatedLan::~SimulatedLan() {
    Stop();
}

QStringList SimulatedLan::DeviceArguments() {
    const DeviceRegistry registry = StandardRegistry();
    QStringList arguments;
    for (int i = 0; i < static_cast<int>(DemoDevices.size()); ++i) {
        const DemoDevice& device = DemoDevices[static_cast<std::size_t>(i)];
        if (device.TypeIndex >= registry.Count())
            continue;
        const std::uint64_t mac = 0x024F4C000001ULL + static_cast<std::uint64_t>(i);
        arguments << QStringLiteral("--device")
                  << QStringLiteral("type=0x%1,mac=%2,fw=%3,name=%4")
                         .arg(registry.Entry(device.TypeIndex).TypeCode, 8, 16, QLatin1Char('0'))
                         .arg(QString::fromStdString(FormatMac("-", mac)))
                         .arg(QLatin1String(device.Firmware), QLatin1String(device.Name));
    }
    return arguments;
}

bool SimulatedLan::Start(QString* error) {
    return StartSimulator(DeviceArguments(), error);
}

QByteArray SimulatedLan::DemoScript() {
    const auto mac = [](std::string_view name) {
        const auto device = std::find_if(DemoDevices.begin(), DemoDevices.end(),
                                         [name](const DemoDevice& demo) { return demo.Name == name; });
        return QString::fromStdString(
            FormatMac("-", 0x024F4C000001ULL + static_cast<std::uint64_t>(device - DemoDevices.begin())));
    };
    return QStringLiteral(
               "20 silent %1\n80 answer %1\n50 set %2 name=Porch (renamed)\n110 set %2 name=Porch\n"
               "repeat 120\n")
        .arg(mac("Garage"), mac("Porch"))
        .toUtf8();
}

bool SimulatedLan::WriteDemoScript(QString* error) {
    if (!script_.isOpen() && (!script_.open() || script_.write(DemoScript()) < 0 || !script_.flush())) {
        if (error)
            *error = QStringLiteral("cannot write the simulator's script: %1").arg(script_.errorString());
        return false;
    }
    return true;
}

QStringList SimulatedLan::DemoScriptArguments() const {
    return {QStringLiteral("--script"), script_.fileName()};
}

bool SimulatedLan::StartDemo(QString* error) {
    return WriteDemoScript(error) && StartSimulator(DeviceArguments() + DemoScriptArguments(), error);
}

bool SimulatedLan::StartKept(const QString& statePath, bool reset, QString* error) {
    if (!WriteDemoScript(error))
        return false;
    const QStringList keep = QStringList{QStringLiteral("--state"), statePath} + DemoScriptArguments();
    QDir().mkpath(QFileInfo(statePath).absolutePath());
    // A state file that cannot be resumed (damaged, from another version) gives way to a fresh network.
    QString ignored;
    if (!reset && QFileInfo(statePath).isFile() &&
        StartProcess(QStringList{QStringLiteral("--config"), statePath} + keep, &ignored))
        return true;
    return StartSimulator(DeviceArguments() + keep, error);
}

QString SimulatedLan::KeptStatePath() {
    // Without XDG_RUNTIME_DIR Qt would warn and invent a folder in /tmp; the cache is the better fallback.
    const bool runtime = !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR");
    const QString folder = QStandardPaths::writableLocation(runtime ? QStandardPaths::RuntimeLocation
                                                                    : QStandardPaths::CacheLocation);
    return QDir(folder).filePath(runtime ? QStringLiteral("olgctl-demo-lan.json")
                                         : QStringLiteral("demo-lan.json"));
}

bool SimulatedLan::StartSimulator(const QStringList& simulatorArguments, QString* error) {
    QString reason;
    const bool started = StartProcess(simulatorArguments, &reason);
    if (!started && error)
        *error = reason;
    return started;
}

bool SimulatedLan::StartProcess(const QStringList& simulatorArguments, QString* error) {
    Stop();
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("olgsim"));
    if (!QFileInfo(program).isExecutable()) {
        *error = QStringLiteral("the simulator %1 was not found").arg(program);
        return false;
    }
    // Port 0: the simulator takes a free port and names it in its ready line, so no other program can take
    // the port between a choice made here and its bind.
    QStringList arguments = simulatorArguments;
    arguments << QStringLiteral("--listen") << QStringLiteral("127.0.0.1:0") << QStringLiteral("--reply-base")
              << QStringLiteral("127.0.0.10");
    tftpPort_ = FreePort<QUdpSocket>();
    ftpPort_ = FreePort<QTcpServer>();
    arguments << QStringLiteral("--tftp-port") << QString::number(tftpPort_) << QStringLiteral("--ftp-port")
              << QString::number(ftpPort_);
    process_.start(program, arguments);
    if (!process_.waitForStarted(ReadyTimeoutMs)) {
        *error = QStringLiteral("the simulator did not start: %1").arg(process_.errorString());
        return false;
    }

    // Wait for the ready line without blocking the event loop of the caller's window.
    QEventLoop wait;
    QTimer deadline;
    deadline.setSingleShot(true);
    QByteArray output;
    std::optional<ReadyLine> ready;
    const auto readOutput = [&] {
        output += process_.readAllStandardOutput();
        qsizetype end = 0;
        while (!ready && (end = output.indexOf('\n')) >= 0) {
            ready = ParseReadyLine(QString::fromUtf8(output.left(end)).trimmed());
            output.remove(0, end + 1);
        }
        if (ready)
            wait.quit();
    };
    const auto outputConnection = connect(&process_, &QProcess::readyReadStandardOutput, &wait, readOutput);
    const auto finishedConnection = connect(&process_, &QProcess::finished, &wait, &QEventLoop::quit);
    connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
    deadline.start(ReadyTimeoutMs);
    readOutput();
    if (!ready && process_.state() == QProcess::Running)
        wait.exec();
    disconnect(outputConnection);
    disconnect(finishedConnection);

    if (!ready) {
        *error =
            process_.state() == QProcess::Running
                ? QStringLiteral("the simulator did not get ready within %1 s").arg(ReadyTimeoutMs / 1000)
                : QStringLiteral("the simulator ended with exit code %1").arg(process_.exitCode());
        Stop();
        return false;
    }
    // Whatever it prints later is read and dropped, so that a full pipe never stalls it.
    connect(&process_, &QProcess::readyReadStandardOutput, this,
            [this] { process_.readAllStandardOutput(); });
    port_ = ready->Port;
    deviceCount_ = ready->Devices;
    return true;
}

void SimulatedLan::Stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    disconnect(&process_, &QProcess::readyReadStandardOutput, this, nullptr);
    process_.terminate();
    if (!process_.waitForFinished(StopTimeoutMs)) {
        process_.kill();
        process_.waitForFinished(StopTimeoutMs);
    }
    port_ = 0;
    deviceCount_ = 0;
}

ExchangeSettings SimulatedLan::Settings() const {
    ExchangeSettings settings;
    settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
    settings.BindPort = 0;
    settings.TargetAddress = QHostAddress(QHostAddress::LocalHost);
    settings.TargetPort = port_;
    settings.TftpPort = tftpPort_;
    settings.FtpPort = ftpPort_;
    return settings;
}

int SimulatedLan::DeviceCount() const {
    return deviceCount_;
}

} // namespace olg
