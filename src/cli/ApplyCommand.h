#pragma once

#include "Command.h"
#include "ParamValue.h"
#include "Session.h"

#include <map>

namespace olg::cli {

// olgctl apply PLAN: brings every device a plan names to the values it gives them, writing only what
// differs, after the whole plan has been checked against the file and the LAN.
class ApplyCommand : public Command {
public:
    enum class Outcome { Failed, Unchanged, Changed };
    struct Options {
        bool DryRun = false;
        bool ShowPasswords = false;
    };

    ApplyCommand();

    int Run(Session& session) override;

    // One device: reads it, prints what differs and writes only that. Uses nothing but the session it is
    // given and that device's record in it, so that devices may be worked on side by side, each in a
    // session of its own. Returns the exit code, the outcome in *outcome.
    static int ApplyOne(Session& session, int device, const std::map<int, ParamValue>& values,
                        const Options& options, Outcome* outcome);
};

} // namespace olg::cli
