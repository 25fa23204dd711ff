#pragma once

#include "Datagram.h"

#include <QString>

#include <cstdint>

namespace olg {

// What the distribution variant of this build decides. Start-up sets it from the program's version; until
// then the program runs as the default variant.
struct Distribution {
    // Whether the version block named a variant; without one the window keeps its entries as built.
    bool Known = false;
    // Label printing, the Options dialog, Upgrade with no device listed and a free upgrade target.
    bool FullFeatures = false;
    // Sent in the header of every request.
    std::uint16_t DistributorCode = DefaultDistributorCode;
    // The about box's links, left out when empty.
    QString AboutWebAddress;
    QString AboutMailAddress;

    // The variant named by the build number of this executable's version block.
    static Distribution Of(const QString& executableFile);
};

} // namespace olg
