#pragma once

#include "DeviceScript.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

namespace olg::sim {

// Reads device actions typed on standard input, one a line ("silent MAC", "answer MAC", "set MAC KEYS"),
// so that a person or a test changes the simulated LAN while it runs. A bad line is reported on stderr and
// skipped.
class CommandReader : public QObject {
    Q_OBJECT
public:
    explicit CommandReader(QObject* parent = nullptr);

signals:
    void ActionRead(const olg::DeviceAction& action);

private:
    void ReadAvailable();

    QSocketNotifier notifier_;
    QByteArray pending_;
};

} // namespace olg::sim
