#pragma once

#include "Invocation.h"
#include "Session.h"

namespace olg::cli {

// olgctl upgrade DEVICE FILE [--yes]: the firmware upgrade of the desktop program without its window.
class UpgradeCommand {
public:
    explicit UpgradeCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    Session& session_;
};

} // namespace olg::cli
