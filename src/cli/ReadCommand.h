#pragma once

#include "Invocation.h"
#include "ListWriter.h"
#include "Session.h"

namespace olg::cli {

// olgctl read DEVICE...: every parameter of one device, or of several in one list, read from them.
class ReadCommand {
public:
    explicit ReadCommand(Session& session) : session_(session) {}

    int Run(const Invocation& invocation);

private:
    void AddRows(const TOLG& record, bool withMac, bool showPasswords, ListWriter& list) const;
    Session& session_;
};

} // namespace olg::cli
