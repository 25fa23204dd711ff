#pragma once

#include "Command.h"
#include "ListWriter.h"
#include "Session.h"

namespace olg::cli {

// olgctl read DEVICE...: every parameter of one device, or of several in one list, read from them.
class ReadCommand : public Command {
public:
    ReadCommand();

    int Run(Session& session) override;

private:
    void AddRows(const TOLG& record, bool withMac, bool showPasswords, ListWriter& list) const;
    Session* session_ = nullptr;
};

} // namespace olg::cli
