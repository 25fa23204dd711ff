#include "Session.h"

#include "Datagram.h"
#include "DeviceSelector.h"
#include "DeviceText.h"
#include "ErrorBox.h"
#include "MacAddress.h"
#include "ParamIds.h"
#include "ScanLimit.h"
#include "Scanner.h"
#include "TVersionInfo.h"
#include "TerminalText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace olg::cli {

Session::Session(QTextStream& out, QTextStream& err, const ExchangeSettings& settings, QTextStream* in)
    : out_(out), err_(err), progress_(err), prompts_(err, in, &progress_), ownRegistry_(StandardRegistry()),
      registry_(ownRegistry_), settings_(settings), devices_(registry_) {}

Session::Session(Session& parent, QTextStream& out, QTextStream& err, const TOLG& record)
    : out_(out), err_(err), progress_(err, ProgressLine::Style::Quiet, 0), prompts_(err, nullptr, &progress_),
      registry_(parent.registry_), settings_(parent.settings_), interfaces_(parent.interfaces_),
      devices_(registry_), parent_(&parent) {
    devices_.Add(record);
}

Session::~Session() = default;

TServeur* Session::Serveur() {
    if (!serveur_ && parent_) {
        if (parent_->serveur_)
            serveur_ = std::make_unique<TServeur>(*parent_->serveur_, prompts_);
    } else if (!serveur_) {
        serveur_ = std::make_unique<TServeur>(registry_, prompts_, settings_);
        serveur_->LimitInterfaces(interfaces_);
        // The same program as the window, for a shell: it speaks as the variant its version names.
        serveur_->SetDistributorCode(
            TVersionInfo::Distribution(QCoreApplication::applicationFilePath()).DistributorCode);
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

bool Session::NamesSeveral(const QStringList& names) {
    return names.size() > 1 || std::any_of(names.begin(), names.end(), [](const QString& name) {
               return name == QLatin1String("all") || name.startsWith(QLatin1String("type="));
           });
}

QList<int> Session::ScanAndSelectSeveral(const QStringList& names) {
    // Devices named each by its MAC or address are all there once each has answered, as one such device is.
    std::function<bool(int)> found;
    if (std::all_of(names.begin(), names.end(), &DeviceSelector::NamesAnAddress)) {
        const qsizetype wanted = QSet<QString>(names.begin(), names.end()).size();
        found = [this, &names, wanted, answered = QSet<QString>()](int index) mutable {
            for (const QString& name : names) {
                if (DeviceSelector::AnsweredAs(devices_.At(index), name))
                    answered.insert(name);
            }
            return answered.size() == wanted;
        };
    }
    if (!Scan(found))
        return {};
    QList<int> selected;
    QSet<int> taken;
    const auto take = [&](int index) {
        if (!taken.contains(index)) {
            taken.insert(index);
            selected.append(index);
        }
    };
    const DeviceSelector selector(devices_);
    for (const QString& name : names) {
        QString error;
        const QList<int> matches = selector.SelectSeveral(name, &error);
        if (matches.isEmpty()) {
            prompts_.ShowError(error);
            return {};
        }
        for (int index : matches)
            take(index);
    }
    // In the order of the list, whatever the order of the words.
    std::sort(selected.begin(), selected.end());
    return selected;
}

QList<int> Session::ScanAndSelectAny(const QStringList& names) {
    if (NamesSeveral(names))
        return ScanAndSelectSeveral(names);
    const int device = ScanAndSelect(names.front());
    return device >= 0 ? QList<int>{device} : QList<int>{};
}

bool Session::Exchange(int device, std::uint8_t command, const Operation& operation) {
    TServeur* serveur = Serveur();
    if (!serveur)
        return false;
    const DeviceIdentity identity = devices_.At(device).Identity;
    const auto isAnswer = [identity, command](const QByteArray& datagram) {
        return datagram.size() >= static_cast<qsizetype>(HeaderSize) &&
               static_cast<std::uint8_t>(datagram.at(CommandOffset)) == command &&
               std::equal(identity.begin(), identity.end(),
                          reinterpret_cast<const std::uint8_t*>(datagram.constData()) + SourceOffset);
    };
    // Only the device's own answer ends a wait: the other replies are merged all the same.
    serveur->SetWaitEnder(isAnswer);
    bool answered = false;
    // Replies that come after the operation must not reach a variable that is gone: the handler dies with
    // its target, at the end of this call.
    QObject target;
    operation(*serveur, &target,
              [this, serveur, &isAnswer, &answered](const QString& sender, quint16,
                                                    const QByteArray& datagram, bool) {
                  const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram.constData());
                  const int index = devices_.MergeReply(sender.toStdString(), bytes,
                                                        static_cast<std::size_t>(datagram.size()),
                                                        serveur->ReplyInterface().toStdString());
                  if (index >= 0 && isAnswer(datagram))
                      answered = true;
              });
    serveur->SetWaitEnder({});
    return answered;
}

bool Session::ReadAll(int device) {
    const bool answered = Exchange(device, CommandRead,
                                   [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
                                       serveur.ReadAll(devices_.At(device), target, std::move(handler));
                                   });
    if (!answered)
        ShowNotResponding(device);
    return answered;
}

Session::WriteOutcome
Session::Write(int device, const std::function<int(TServeur&, QObject*, TServeur::ReplyHandler)>& send) {
    int tooLong = 0;
    const bool answered = Exchange(device, CommandWrite,
                                   [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
                                       tooLong = send(serveur, target, std::move(handler));
                                   });
    if (tooLong != 0) {
        prompts_.ShowError(
            QStringLiteral("parameter %1: the text is longer than 255 bytes; nothing was written")
                .arg(tooLong));
        return WriteOutcome::TextTooLong;
    }
    if (!answered) {
        ShowNotResponding(device);
        return WriteOutcome::NotAnswered;
    }
    return WriteOutcome::Written;
}

bool Session::CheckReadable(const QString& file) {
    QFile opened(file);
    if (QFileInfo(file).isDir() || !opened.open(QIODevice::ReadOnly)) {
        prompts_.ShowError(QStringLiteral("cannot read %1: %2")
                               .arg(file, QFileInfo(file).isDir() ? QStringLiteral("it is a folder")
                                                                  : opened.errorString()));
        return false;
    }
    return true;
}

QStringList Session::Describe(const QList<int>& devices) const {
    QStringList descriptions;
    for (int device : devices)
        descriptions.append(Describe(device));
    return descriptions;
}

void Session::ShowNotResponding(int device) {
    // A request that could not leave was reported by the exchange already; no answer was to be had.
    if (serveur_ && serveur_->SendFailed())
        return;
    prompts_.ShowError(QStringLiteral("%1: device not responding").arg(Describe(device)));
}

QString Session::Describe(int device) const {
    const TOLG& record = devices_.At(device);
    // For messages on a terminal.
    return QStringLiteral("%1 (%2)").arg(
        TerminalText(DeviceText::Decode(record.Value(param::DeviceName).AsText())),
        QString::fromStdString(FormatMac(".", record.Mac)));
}

} // namespace olg::cli
