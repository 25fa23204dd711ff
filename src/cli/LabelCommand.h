#pragma once

#include "Invocation.h"
#include "Session.h"

namespace olg::cli {

// olgctl label DEVICE: the device's MAC label as a PDF page or PNG image, and its line in the MAC log.
// olgctl label DEVICE... --log FILE: the lines of several devices in the MAC log.
class LabelCommand {
public:
    explicit LabelCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    int LabelOne(int device, const Invocation& invocation);
    bool WriteLabel(const Invocation& invocation, const QString& mac);

    Session& session_;
};

} // namespace olg::cli
