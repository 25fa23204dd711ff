#include "Session.h"

#include "DeviceSelector.h"
#include "DeviceText.h"
#include "ErrorBox.h"
#include "MacAddress.h"
#include "ScanLimit.h"
#include "Scanner.h"
#include "TerminalText.h"

#include <algorithm>

namespace olg::cli {

Session::Session(QTextStream& out, QTextStream& err, const ExchangeSettings& settings)
    : out_(out), err_(err), prompts_(err), registry_(StandardRegistry()), settings_(settings),
      devices_(registry_) {}

Session::~Session() = default;

TServeur* Session::Serveur() {
    if (!serveur_) {
        serveur_ = std::make_unique<TServeur>(registry_, prompts_, settings_);
        if (!serveur_->BindError().isEmpty()) {
            ShowError(prompts_, ErrorConnection, serveur_->BindError());
            serveur_.reset();
        }
    }
    return serveur_.get();
}

bool Session::Scan(const std::function<bool(int index)>& found) {
    TServeur* serveur = Serveur();
    if (!serveur)
        return false;
    const int errorsBefore = prompts_.ErrorCount();
    Scanner scanner(*serveur, devices_);
    scanner.StopWhen(found);
    scanner.Run();
    if (devices_.Overflowed())
        prompts_.ShowWarning(IgnoredDevicesWarning(devices_.Capacity()));
    return prompts_.ErrorCount() == errorsBefore;
}

int Session::ScanAndSelect(const QString& device) {
    // A device named by its MAC or address is there once it has answered; waiting for the rest of the scan
    // would only delay every command.
    std::function<bool(int)> found;
    if (DeviceSelector::NamesAnAddress(device))
        found = [this, &device](int index) { return DeviceSelector::AnsweredAs(devices_.At(index), device); };
    if (!Scan(found))
        return -1;
    QString error;
    const int index = DeviceSelector(devices_).Select(device, &error);
    if (index < 0)
        prompts_.ShowError(error);
    return index;
}

bool Session::Exchange(int device, const Operation& operation) {
    TServeur* serveur = Serveur();
    if (!serveur)
        return false;
    const DeviceIdentity identity = devices_.At(device).Identity;
    bool answered = false;
    // Replies that come after the operation must not reach a variable that is gone: the handler dies with
    // its target, at the end of this call.
    QObject target;
    operation(*serveur, &target,
              [this, identity, &answered](const QString& sender, quint16, const QByteArray& datagram, bool) {
                  const std::string address = sender.toStdString();
                  const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram.constData());
                  const int index =
                      devices_.MergeReply(address, bytes, static_cast<std::size_t>(datagram.size()));
                  if (index >= 0 && devices_.At(index).Identity == identity)
                      answered = true;
              });
    return answered;
}

QString Session::Describe(int device) const {
    const TOLG& record = devices_.At(device);
    // For messages on a terminal.
    return QStringLiteral("%1 (%2)").arg(TerminalText(DeviceText::Decode(record.Value(7).AsText())),
                                         QString::fromStdString(FormatMac(".", record.Mac)));
}

} // namespace olg::cli
