#pragma once

#include "Command.h"
#include "Session.h"

namespace olg::cli {

// olgctl label DEVICE: the device's MAC label as a PDF page or PNG image, and its line in the MAC log.
// olgctl label DEVICE... --log FILE: the lines of several devices in the MAC log.
class LabelCommand : public Command {
public:
    LabelCommand();

    int Run(Session& session) override;

private:
    int LabelOne(int device);
    bool WriteLabel(const QString& mac);

    Session* session_ = nullptr;
};

} // namespace olg::cli
