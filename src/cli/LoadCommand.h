#pragma once

#include "Command.h"
#include "Session.h"

#include <QList>

namespace olg::cli {

// olgctl load DEVICE... FILE.cfg [--dry-run]: writes a saved configuration into a device of the same model
// and type code, or into several one after the other, as the desktop program does once its dialog is
// confirmed; with --dry-run only shows what would change.
class LoadCommand : public Command {
public:
    LoadCommand();

    int Run(Session& session) override;

private:
    // keepAddress: the device keeps its address, mask, gateway and name, as in a load into several devices.
    int LoadOne(Session& session, int device, const QString& path, bool keepAddress);
    // False, with the reason shown, when --with-address would give two of these devices one address: two
    // devices of one model take the same section of the file.
    bool AddressesStayDistinct(const QList<int>& devices, const QString& path);
    // Warns when the address the file gives this device is the one another listed device answers from.
    void WarnOfTakenAddress(Session& session, int device, const TOLG& record, const QString& path) const;

    Session* session_ = nullptr;
    struct Answering {
        std::uint64_t Mac = 0;
        std::string Address;
        QString Description;
    };
    // Every listed device, as the scan found it.
    QList<Answering> answering_;
};

} // namespace olg::cli
