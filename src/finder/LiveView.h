#pragma once

#include "DeviceList.h"
#include "DeviceWatch.h"
#include "SettingsStore.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QObject>
#include <QSpinBox>
#include <QTimer>

#include <functional>
#include <unordered_set>

namespace olg {

// The live view of the LAN. While View > Watch the LAN is on, a background scan runs every few seconds
// without rebuilding the list, so that the selection, the sort and the filter stay; each scan's answers go
// to a DeviceWatch, which tells the grid what to mark: a device that missed two scans in a row greyed, one
// seen for the first time bold until it is selected or the next scan ends, one whose address, name or
// firmware changed saying so in its tooltip. It also keeps the Last seen column, the status bar line (when
// the last scan ended, how many devices online and offline, the interval) and File > Forget Offline
// Devices. The window tells it when scans start and end and which devices answer; it asks the window for a
// background scan when one is due, and tries again a little later when the window is busy.
class LiveView : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultIntervalSeconds = 30;
    static constexpr int MinIntervalSeconds = 10;
    static constexpr int MaxIntervalSeconds = 3600;
    static constexpr int RetryMs = 1000;

    // Adds View > Watch the LAN and Last Seen Column before the Help menu, Forget Offline Devices in the File
    // menu before fileMenuBefore, and the status bar widgets; reads the settings.
    LiveView(QMainWindow& window, const DeviceList& devices, SettingsStore& settings, QMenu* fileMenu,
             QAction* fileMenuBefore);

    // Starts a background scan if the window may, and says whether it did.
    void SetScanStarter(std::function<bool()> startScan) { startScan_ = std::move(startScan); }
    // Milliseconds since the epoch; tests and benchmarks move time on by hand.
    void SetClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

    bool Watching() const { return watchAction_->isChecked(); }
    void SetWatching(bool on) { watchAction_->setChecked(on); }
    int IntervalSeconds() const { return interval_->value(); }
    void SetIntervalSeconds(int seconds) { interval_->setValue(seconds); }
    bool LastSeenShown() const { return lastSeenAction_->isChecked(); }
    const DeviceWatch& Watch() const { return watch_; }

    // The window's news.
    void ScanStarted(bool rebuild);
    void DeviceAnswered(int index);
    void ScanEnded(bool rebuild);
    void DeviceSelected(int index);
    // The offline devices are about to leave the list.
    bool IsOffline(const TOLG& record) const;
    void ForgetOffline();

    // The grid's marks of the device at this list index.
    bool IsOffline(int index) const;
    bool IsMarkedNew(int index) const;
    QString LastSeenText(int index) const;
    QString ToolTip(int index) const;

    // "now", "40 s ago", "2 min ago", "3 h ago", "2 d ago".
    static QString AgeText(qint64 ms);

signals:
    // The marks of every row may have changed.
    void MarksChanged();
    void RowMarksChanged(int index);
    void LastSeenColumnToggled(bool shown);
    void ForgetOfflineRequested();

private:
    const WatchedDevice* Watched(int index) const;
    void ApplyWatch(bool on);
    void IntervalChanged(int seconds);
    void ScanDue();
    void UpdateStatus();

    const DeviceList& devices_;
    SettingsStore& settings_;
    DeviceWatch watch_;
    std::function<bool()> startScan_;
    std::function<qint64()> clock_;
    QAction* watchAction_;
    QAction* lastSeenAction_;
    QAction* forgetAction_;
    QLabel* status_;
    QSpinBox* interval_;
    QTimer due_;
    // Refreshes the relative times of the Last seen column and of the tooltips.
    QTimer ages_;
    bool scanning_ = false;
    bool rebuilding_ = false;
    // The devices that answered the running scan, by identity: the list may lose rows meanwhile.
    std::unordered_set<std::uint64_t> answered_;
    qint64 lastScanEndMs_ = 0;
};

} // namespace olg
