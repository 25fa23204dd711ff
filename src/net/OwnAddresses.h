#pragma once

#include <QElapsedTimer>
#include <QSet>
#include <QString>

namespace olg {

// The host's own IPv4 addresses as dotted texts. Asking the system for them on every datagram would cost more
// than the datagram itself during a large scan, so the answer is kept for a second.
class OwnAddresses {
public:
    bool Contains(const QString& dottedAddress);

private:
    void Refresh();

    QSet<QString> addresses_;
    QElapsedTimer age_;
};

} // namespace olg
