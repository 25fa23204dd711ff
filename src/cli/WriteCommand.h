#pragma once

#include "Command.h"
#include "ParamValue.h"
#include "Session.h"

#include <QString>

#include <map>

namespace olg::cli {

// olgctl write DEVICE... ID=VALUE...: changes parameters of one device, or of several one after the other.
// Nothing is sent unless every assignment is valid for every device's type.
class WriteCommand : public Command {
public:
    WriteCommand();

    int Run(Session& session) override;

private:
    int WriteOne(Session& session, int device, const std::map<int, ParamValue>& values, bool all);
    // Id -> typed value, by the kinds of the device's table; false when one is refused (the reason was
    // shown).
    bool TypeAssignments(const TOLG& record, std::map<int, ParamValue>* values);

    Session* session_ = nullptr;
    // PARAMETER=VALUE as typed: a name stands for an id only once the device's model is known.
    QList<std::pair<QString, QString>> assignments_;
};

} // namespace olg::cli
