#pragma once

#include "ConsolePrompts.h"
#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "ExchangeSettings.h"
#include "ProgressLine.h"
#include "TServeur.h"

#include <QObject>
#include <QTextStream>

#include <functional>
#include <memory>

namespace olg::cli {

// What every verb shares: the output streams, the catalogue, the exchange and the device list of the scan.
class Session {
public:
    // Questions to the user are answered on in; without it, no.
    Session(QTextStream& out, QTextStream& err, const ExchangeSettings& settings, QTextStream* in = nullptr);
    // The session of one device's work on a worker thread: its own streams and prompts, a copy of the
    // device's record as its list's only one (index 0), and a lane of the parent's exchange, which must be
    // listening. It asks nothing and draws no progress.
    Session(Session& parent, QTextStream& out, QTextStream& err, const TOLG& record);
    ~Session();

    // Both take a progress line off the terminal first.
    QTextStream& Out() {
        progress_.Clear();
        return out_;
    }
    QTextStream& Err() {
        progress_.Clear();
        return err_;
    }
    ProgressLine& Progress() { return progress_; }
    ConsolePrompts& Prompts() { return prompts_; }
    const DeviceRegistry& Registry() const { return registry_; }
    DeviceList& Devices() { return devices_; }
    // Limits the LAN broadcasts to these network interfaces; before the first exchange.
    void LimitInterfaces(const QStringList& names) { interfaces_ = names; }
    // Null, with the reason shown, when the exchange cannot listen.
    TServeur* Serveur();

    // Scans the LAN, to its end or until a merged reply at this list index is the one looked for; false when
    // the exchange failed (the reason was shown).
    bool Scan(const std::function<bool(int index)>& found = {});
    // Scans and picks the device named on the command line; -1 when it is not there (the reason was shown).
    int ScanAndSelect(const QString& device);
    // True when these DEVICE words may name more than one device: several words, "type=MODEL" or "all".
    static bool NamesSeveral(const QStringList& names);
    // Scans once and picks every device the words name, each once, in list order; empty when a word names
    // none (the reason was shown).
    QList<int> ScanAndSelectSeveral(const QStringList& names);
    // ScanAndSelect for one DEVICE word that names one device, else ScanAndSelectSeveral.
    QList<int> ScanAndSelectAny(const QStringList& names);
    // False, with the reason shown, when the file cannot be read: told before a scan, not after it.
    bool CheckReadable(const QString& file);

    // Runs one operation of the exchange whose replies are merged into the device list, as the desktop
    // program does. True when the device itself answered with the command of the request: a late reply to
    // the scan, arriving during a write, is no answer to the write.
    using Operation = std::function<void(TServeur&, QObject* target, TServeur::ReplyHandler handler)>;
    bool Exchange(int device, std::uint8_t command, const Operation& operation);
    // Reads every parameter of a listed device into the list; false, with "NAME (MAC): device not
    // responding" shown, when it did not answer.
    bool ReadAll(int device);
    // Sends a write made by send (which returns the id of a text too long to send, else 0) and waits for the
    // device's answer; a failure is shown.
    enum class WriteOutcome { Written, TextTooLong, NotAnswered };
    WriteOutcome Write(int device,
                       const std::function<int(TServeur&, QObject*, TServeur::ReplyHandler)>& send);

    // "name (MAC)" of a listed device, for messages.
    QString Describe(int device) const;
    QStringList Describe(const QList<int>& devices) const;

private:
    void ShowNotResponding(int device);

    QTextStream& out_;
    QTextStream& err_;
    ProgressLine progress_;
    ConsolePrompts prompts_;
    // The root session's own; a job's session uses its parent's.
    DeviceRegistry ownRegistry_;
    const DeviceRegistry& registry_;
    ExchangeSettings settings_;
    QStringList interfaces_;
    DeviceList devices_;
    std::unique_ptr<TServeur> serveur_;
    Session* parent_ = nullptr;
};

} // namespace olg::cli
