#pragma once

#include "DeviceScript.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace olg::sim {

// Plays a device script: each action is handed to apply when its time has come, counted from Start(), and
// the script starts over after its repeat period.
class ScriptPlayer : public QObject {
    Q_OBJECT
public:
    using Apply = std::function<void(const DeviceAction&)>;

    ScriptPlayer(DeviceScript script, Apply apply, QObject* parent = nullptr);

    // Starts the clock; the actions due at 0 are applied before this returns.
    void Start();
    bool Started() const { return clock_.isValid(); }

private:
    void PlayDue();

    DeviceScript script_;
    Apply apply_;
    QElapsedTimer clock_;
    QTimer timer_;
    std::size_t next_ = 0;
    qint64 roundStartMs_ = 0;
};

} // namespace olg::sim
