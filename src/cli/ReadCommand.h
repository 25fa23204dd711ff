#pragma once

#include "Invocation.h"
#include "Session.h"

namespace olg::cli {

// olgctl read DEVICE: every parameter of one device, read from it.
class ReadCommand {
public:
    explicit ReadCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    Session& session_;
};

} // namespace olg::cli
