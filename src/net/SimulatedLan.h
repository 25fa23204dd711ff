#pragma once

#include "ExchangeSettings.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryFile>

namespace olg {

// A LAN without hardware: the device simulator running as a child process on a loopback port, with one device
// of every registered type code and a few older firmware versions. The exchange is pointed at it with
// Settings(), so nothing leaves the machine. The child ends with this object, and also when this process dies
// without cleaning up.
class SimulatedLan : public QObject {
    Q_OBJECT

public:
    explicit SimulatedLan(QObject* parent = nullptr);
    ~SimulatedLan() override;

    // Starts the simulator found beside the running executable and waits until it listens. On failure the
    // reason goes to *error (when given) and false is returned.
    bool Start(QString* error);
    // The same, with the LAN coming alive: one device is unplugged now and then and another renamed, so
    // that a watch of the LAN has something to show (DemoScript()).
    bool StartDemo(QString* error);
    // The demo devices (with the demo's script) kept in statePath between runs: resumed from it when it holds a network and reset is
    // false, else started afresh; every change the devices take is written back to it.
    bool StartKept(const QString& statePath, bool reset, QString* error);
    // Where a command-line demo keeps its network: the user's runtime folder when there is one, else the
    // cache.
    static QString KeptStatePath();
    // The same with other simulator arguments (devices, faults, state file) in place of the demo devices.
    bool StartSimulator(const QStringList& simulatorArguments, QString* error);
    // Where the exchange binds (loopback, any free port), where it sends (the simulator's port) and where the
    // devices serve the upgrade.
    ExchangeSettings Settings() const;
    int DeviceCount() const;
    // The simulator's port on 127.0.0.1, or 0 when it is not running.
    quint16 Port() const { return port_; }

    // The simulator's arguments for the devices of the simulated LAN.
    static QStringList DeviceArguments();
    // The simulator's script of the demo: "Garage" silent from 20 s to 80 s and "Porch" renamed from 50 s
    // to 110 s after the first scan, every two minutes.
    static QByteArray DemoScript();

private:
    // The demo's script in a temporary file, written once; the arguments that hand it to the simulator.
    bool WriteDemoScript(QString* error);
    QStringList DemoScriptArguments() const;
    bool StartProcess(const QStringList& simulatorArguments, QString* error);
    void Stop();

    QProcess process_;
    QTemporaryFile script_;
    quint16 port_ = 0;
    quint16 tftpPort_ = 0;
    quint16 ftpPort_ = 0;
    int deviceCount_ = 0;
};

} // namespace olg
