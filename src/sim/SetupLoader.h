#pragma once

#include "SetupParser.h"
#include "SimulatorSetup.h"

#include "DeviceRegistry.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace olg::sim {

// Turns olgsim's command line, and the JSON configuration file it may name, into a SimulatorSetup.
class SetupLoader {
public:
    // Help: print Message() and stop (--help, --version).
    enum class Outcome { Run, Help, Error };

    explicit SetupLoader(const DeviceRegistry& registry) : parser_(registry) {}

    // The arguments with the program's name first.
    Outcome Load(const QStringList& arguments);

    const SimulatorSetup& Setup() const { return parser_.Setup(); }
    // The --help or --version text, or the reason of an Error.
    const QString& Message() const { return message_; }

    static QString HelpText();

private:
    static bool LoadConfigFile(const QString& path, SetupParser& parser);
    static bool AddDevice(const QJsonObject& object, SetupParser& parser);
    bool LoadScript(const QString& path);

    SetupParser parser_;
    QString message_;
};

} // namespace olg::sim
