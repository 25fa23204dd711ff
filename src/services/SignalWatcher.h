#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace olg {

// Turns SIGINT and SIGTERM into a Qt signal through a self-pipe: the handler only writes one byte, the rest
// runs in the event loop where it is safe to shut down.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

    bool IsValid() const { return notifier_ != nullptr; }

signals:
    void TerminationRequested();

private:
    static void OnSignal(int number);
    void Drain();

    static int pipe_[2];
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace olg
