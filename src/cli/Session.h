#pragma once

#include "ConsolePrompts.h"
#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "ExchangeSettings.h"
#include "TServeur.h"

#include <QObject>
#include <QTextStream>

#include <functional>
#include <memory>

namespace olg::cli {

// What every verb shares: the output streams, the catalogue, the exchange and the device list of the scan.
class Session {
public:
    Session(QTextStream& out, QTextStream& err, const ExchangeSettings& settings);
    ~Session();

    QTextStream& Out() { return out_; }
    QTextStream& Err() { return err_; }
    ConsolePrompts& Prompts() { return prompts_; }
    const DeviceRegistry& Registry() const { return registry_; }
    DeviceList& Devices() { return devices_; }
    // Null, with the reason shown, when the exchange cannot listen.
    TServeur* Serveur();

    // Scans the LAN, to its end or until a merged reply at this list index is the one looked for; false when
    // the exchange failed (the reason was shown).
    bool Scan(const std::function<bool(int index)>& found = {});
    // Scans and picks the device named on the command line; -1 when it is not there (the reason was shown).
    int ScanAndSelect(const QString& device);

    // Runs one operation of the exchange whose replies are merged into the device list, as the desktop
    // program does. True when the device itself answered.
    using Operation = std::function<void(TServeur&, QObject* target, TServeur::ReplyHandler handler)>;
    bool Exchange(int device, const Operation& operation);

    // "name (MAC)" of a listed device, for messages.
    QString Describe(int device) const;

private:
    QTextStream& out_;
    QTextStream& err_;
    ConsolePrompts prompts_;
    DeviceRegistry registry_;
    ExchangeSettings settings_;
    DeviceList devices_;
    std::unique_ptr<TServeur> serveur_;
};

} // namespace olg::cli
