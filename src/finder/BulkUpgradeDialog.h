#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QProgressBar;
class QPushButton;

namespace olg {

class DeviceResultTable;
class NeighbourCache;
class TServeur;

// "Upgrade Selected Devices": the upgrade flow run on each device in turn, as soon as the dialog shows, with
// a row per device: its progress and how it went. Each device's messages go to its row, not into boxes. Close
// stays disabled while a device is being upgraded; Stop (or Esc) lets the device being upgraded finish and
// leaves the others as they are.
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
    void Run();
    // The device's result text; *succeeded when its upgrade went through.
    QString RunOne(int row, bool* succeeded);
    void Stop();

    TServeur& serveur_;
    NeighbourCache* neighbours_;
    QList<Target> targets_;
    QString file_;
    bool started_ = false;
    bool running_ = false;
    bool stopping_ = false;
    bool done_ = false;
    int succeeded_ = 0;

    DeviceResultTable* table_;
    QLabel* summary_;
    QPushButton* close_;
};

} // namespace olg
