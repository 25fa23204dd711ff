#pragma once

#include "Invocation.h"
#include "Session.h"

namespace olg::cli {

// olgctl scan: the devices that answer a scan, in the order of their first replies.
class ScanCommand {
public:
    explicit ScanCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    Session& session_;
};

} // namespace olg::cli
