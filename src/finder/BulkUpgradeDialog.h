#pragma once

#include <QDialog>
#include <QList>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

namespace olg {

class DeviceResultTable;
class NeighbourCache;
class TServeur;

// "Upgrade Selected Devices": the upgrade flow run on several devices at once, as soon as the dialog shows,
// each on a thread of its own with a lane of the window's exchange, with a row per device: its progress and
// how it went. Each device's messages go to its row, not into boxes. Close stays disabled while devices are
// being upgraded; Stop (or Esc) lets the devices being upgraded finish and leaves the others as they are.
class BulkUpgradeDialog : public QDialog {
    Q_OBJECT

public:
    struct Target {
        QString Caption;
        QString Address;
    };

    // The neighbour cache may be null.
    BulkUpgradeDialog(TServeur& serveur, NeighbourCache* neighbours, const QList<Target>& targets,
                      const QString& file, QWidget* owner = nullptr);

    // Every device has its result.
    bool Done() const { return done_; }
    int SucceededCount() const { return succeeded_; }
    DeviceResultTable* Table() const { return table_; }
    QProgressBar* Bar(int row) const;
    QPushButton* CloseButton() const { return close_; }

public slots:
    // While the upgrades run: stop after the devices being upgraded.
    void reject() override;

signals:
    void Finished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // How one device's upgrade went: its result text.
    struct Outcome {
        QString Text;
        bool Succeeded = false;
    };
    void Run();
    // Runs on a worker thread, on a lane of the window's exchange.
    Outcome RunOne(int row);
    void Stop();

    TServeur& serveur_;
    NeighbourCache* neighbours_;
    QList<Target> targets_;
    QString file_;
    bool started_ = false;
    bool running_ = false;
    // Read by the upgrades' threads.
    std::atomic<bool> stopping_ = false;
    bool done_ = false;
    int succeeded_ = 0;

    DeviceResultTable* table_;
    QLabel* summary_;
    QPushButton* close_;
};

} // namespace olg
