#pragma once

#include "SimulatorSetup.h"

#include "DeviceRegistry.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace olg::sim {

// Turns olgsim's command line, and the configuration file it may name, into a SimulatorSetup.
class SetupLoader {
public:
    enum class Outcome { Run, Help, Error };

    explicit SetupLoader(const DeviceRegistry& registry) : registry_(registry) {}

    Outcome Load(const QStringList& arguments);

    const SimulatorSetup& Setup() const { return setup_; }
    // The --help text, or the reason of an Error.
    const QString& Message() const { return message_; }

    static QString HelpText();

private:
    bool LoadConfigFile(const QString& path);
    bool AddDevice(const QJsonObject& object);
    bool AddFleet(int count, int first, const QString& firstIp, const QString& faults);
    bool SetListen(const QString& text);
    bool SetReplyBase(const QString& text);
    bool ResolveAddresses();
    bool LoadScript(const QString& path);
    // Every action of the script names a device, and on loopback moves it within 127.0.0.0/8.
    bool CheckScript();
    bool Fail(const QString& message);

    const DeviceRegistry& registry_;
    SimulatorSetup setup_;
    QString message_;
};

} // namespace olg::sim
