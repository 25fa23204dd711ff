#pragma once

#include "Command.h"
#include "Session.h"

namespace olg::cli {

// olgctl diff A B: the parameters in which two devices, a device and a saved configuration, or two saved
// configurations differ; the exit code tells whether they do, as diff's does.
class DiffCommand : public Command {
public:
    DiffCommand();

    int Run(Session& session) override;

private:
    // One model's records to compare.
    struct Pair {
        std::string Model;
        TOLG A;
        TOLG B;
    };

    // A word that ends in .cfg or holds a "/" names a file; any other a device.
    static bool NamesFile(const QString& word);
    // The devices the words name, -1 for a file; empty with the reason shown when one does not answer.
    QList<int> SelectDevices(Session& session) const;
    // The records to compare; the exit code of a failure otherwise, with the reason shown.
    int Pairs(Session& session, const QList<int>& devices, std::vector<Pair>* pairs) const;
};

} // namespace olg::cli
