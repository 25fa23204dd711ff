#pragma once

#include "Command.h"
#include "Session.h"

namespace olg::cli {

// olgctl upgrade DEVICE... FILE [--yes]: the firmware upgrade of the desktop program without its window, for
// one device or for several one after the other.
class UpgradeCommand : public Command {
public:
    UpgradeCommand();

    QString Configure(ExchangeSettings& settings) override;
    int Run(Session& session) override;

private:
    int UpgradeOne(Session& session, int device, const QString& file);

    Session* session_ = nullptr;
};

} // namespace olg::cli
