#pragma once

#include "Invocation.h"
#include "Session.h"

namespace olg::cli {

// olgctl upgrade DEVICE... FILE [--yes]: the firmware upgrade of the desktop program without its window, for
// one device or for several one after the other.
class UpgradeCommand {
public:
    explicit UpgradeCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    int UpgradeOne(int device, const QString& file);

    Session& session_;
};

} // namespace olg::cli
