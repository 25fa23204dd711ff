#pragma once

#include "Command.h"
#include "Session.h"

namespace olg::cli {

// olgctl save DEVICE FILE.cfg: reads every parameter of one device and writes them into its model's section
// of the configuration file, keeping the file's other sections. olgctl save DEVICE... FOLDER: each device
// into its own file in the folder, named after its MAC, since two devices of one model would share a section.
class SaveCommand : public Command {
public:
    SaveCommand();

    int Run(Session& session) override;

private:
    int SaveOne(Session& session, int device, const QString& path);

    Session* session_ = nullptr;
};

} // namespace olg::cli
