#pragma once

#include "DeviceList.h"
#include "DialogHost.h"
#include "RecordingPrompts.h"
#include "TServeur.h"
#include "TestSupport.h"

#include <memory>

namespace olg::testing {

// The main window's part for a dialog under test: a device list, an exchange on 127.0.0.1 whose requests go
// to a simulator's port on 127.0.0.1, and prompts that record instead of showing.
class TestDialogHost : public DialogHost {
public:
    explicit TestDialogHost(quint16 targetPort) : devices_(SharedRegistry()) {
        ExchangeSettings settings;
        settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
        settings.BindPort = 0;
        settings.TargetAddress = QHostAddress(QHostAddress::LocalHost);
        settings.TargetPort = targetPort;
        serveur_ = std::make_unique<TServeur>(SharedRegistry(), prompts, settings);
    }

    DeviceList& Devices() override { return devices_; }
    TServeur& Serveur() override { return *serveur_; }
    Prompts& UserPrompts() override { return prompts; }
    void DeviceReply(const QString& sender, quint16, const QByteArray& datagram, bool) override {
        lastReply = datagram;
        devices_.MergeReply(sender.toStdString(), reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                            static_cast<std::size_t>(datagram.size()));
    }

    RecordingPrompts prompts;
    QByteArray lastReply;

private:
    DeviceList devices_;
    std::unique_ptr<TServeur> serveur_;
};

} // namespace olg::testing
