#pragma once

#include "Invocation.h"
#include "Session.h"

namespace olg::cli {

// olgctl save DEVICE FILE.cfg: reads every parameter of one device and writes them into its model's section
// of the configuration file, keeping the file's other sections.
class SaveCommand {
public:
    explicit SaveCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    Session& session_;
};

} // namespace olg::cli
