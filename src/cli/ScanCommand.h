#pragma once

#include "Command.h"
#include "Session.h"

namespace olg::cli {

// olgctl scan: the devices that answer a scan, in the order of their first replies.
class ScanCommand : public Command {
public:
    ScanCommand();

    int Run(Session& session) override;

private:
    Session* session_ = nullptr;
};

} // namespace olg::cli
