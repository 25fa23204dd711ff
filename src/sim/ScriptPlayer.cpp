#include "ScriptPlayer.h"

namespace olg::sim {

ScriptPlayer::ScriptPlayer(DeviceScript script, Apply apply, QObject* parent)
    : QObject(parent), script_(std::move(script)), apply_(std::move(apply)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ScriptPlayer::PlayDue);
}

void ScriptPlayer::Start() {
    clock_.start();
    PlayDue();
}

void ScriptPlayer::PlayDue() {
    const qint64 now = clock_.elapsed();
    while (!script_.Actions.empty()) {
        if (next_ == script_.Actions.size()) {
            if (script_.RepeatMs <= 0)
                return;
            next_ = 0;
            roundStartMs_ += script_.RepeatMs;
        }
        const qint64 due = roundStartMs_ + script_.Actions[next_].AtMs;
        if (due > now) {
            timer_.start(static_cast<int>(due - now));
            return;
        }
        apply_(script_.Actions[next_++]);
    }
}

} // namespace olg::sim
