#include "LiveView.h"

#include "DeviceText.h"

#include <QDateTime>
#include <QMenuBar>
#include <QStatusBar>

namespace olg {

namespace {

const QString SettingsGroup = QStringLiteral("Properties");
const QString WatchValue = QStringLiteral("WatchLan");
const QString IntervalValue = QStringLiteral("WatchInterval");
const QString LastSeenValue = QStringLiteral("LastSeenColumn");
constexpr int AgeRefreshMs = 30000;

QString TimeText(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString ChangeText(const FieldChange& change) {
    switch (change.What) {
    case FieldChange::Field::Address:
        return LiveView::tr("IP address %1 \u2192 %2")
            .arg(QString::fromStdString(change.Old), QString::fromStdString(change.New));
    case FieldChange::Field::Name:
        return LiveView::tr("name \"%1\" \u2192 \"%2\"")
            .arg(DeviceText::Decode(change.Old), DeviceText::Decode(change.New));
    case FieldChange::Field::Firmware:
        return LiveView::tr("firmware %1 \u2192 %2")
            .arg(DeviceText::Decode(change.Old), DeviceText::Decode(change.New));
    }
    return {};
}

} // namespace

LiveView::LiveView(QMainWindow& window, const DeviceList& devices, SettingsStore& settings, QMenu* fileMenu,
                   QAction* fileMenuBefore)
    : QObject(&window), devices_(devices), settings_(settings),
      clock_([] { return QDateTime::currentMSecsSinceEpoch(); }) {
    QMenu* view = new QMenu(tr("&View"), &window);
    view->setObjectName(QStringLiteral("ViewMenu"));
    const QList<QAction*> menus = window.menuBar()->actions();
    window.menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.last(), view);
    watchAction_ = view->addAction(tr("&Watch the LAN"));
    watchAction_->setObjectName(QStringLiteral("WatchMenu"));
    watchAction_->setCheckable(true);
    lastSeenAction_ = view->addAction(tr("&Last Seen Column"));
    lastSeenAction_->setObjectName(QStringLiteral("LastSeenMenu"));
    lastSeenAction_->setCheckable(true);
    forgetAction_ = new QAction(tr("&Forget Offline Devices"), fileMenu);
    forgetAction_->setObjectName(QStringLiteral("ForgetOfflineMenu"));
    forgetAction_->setEnabled(false);
    fileMenu->insertAction(fileMenuBefore, forgetAction_);

    status_ = new QLabel(&window);
    status_->setObjectName(QStringLiteral("LiveStatus"));
    status_->setTextFormat(Qt::PlainText);
    interval_ = new QSpinBox(&window);
    interval_->setObjectName(QStringLiteral("WatchInterval"));
    interval_->setRange(MinIntervalSeconds, MaxIntervalSeconds);
    interval_->setPrefix(tr("Scan every "));
    interval_->setSuffix(tr(" s"));
    interval_->setToolTip(tr("Seconds from the end of one background scan to the start of the next"));
    window.statusBar()->addPermanentWidget(status_);
    window.statusBar()->addPermanentWidget(interval_);

    due_.setSingleShot(true);
    connect(&due_, &QTimer::timeout, this, &LiveView::ScanDue);
    ages_.setInterval(AgeRefreshMs);
    connect(&ages_, &QTimer::timeout, this, &LiveView::MarksChanged);

    bool ok = false;
    const int seconds = settings_.Value(SettingsGroup, IntervalValue).toInt(&ok);
    interval_->setValue(ok ? seconds : DefaultIntervalSeconds);
    lastSeenAction_->setChecked(settings_.Value(SettingsGroup, LastSeenValue) == QLatin1String("1"));
    watchAction_->setChecked(settings_.Value(SettingsGroup, WatchValue) == QLatin1String("1"));
    ApplyWatch(Watching());
    connect(watchAction_, &QAction::toggled, this, [this](bool on) {
        settings_.SetValue(SettingsGroup, WatchValue, on ? QStringLiteral("1") : QStringLiteral("0"));
        ApplyWatch(on);
    });
    connect(interval_, &QSpinBox::valueChanged, this, &LiveView::IntervalChanged);
    connect(lastSeenAction_, &QAction::toggled, this, [this](bool shown) {
        settings_.SetValue(SettingsGroup, LastSeenValue, shown ? QStringLiteral("1") : QStringLiteral("0"));
        emit LastSeenColumnToggled(shown);
    });
    connect(forgetAction_, &QAction::triggered, this, &LiveView::ForgetOfflineRequested);
}

void LiveView::ApplyWatch(bool on) {
    status_->setVisible(on);
    interval_->setVisible(on);
    if (on) {
        // The first scan at once, from the event loop, so that the window is up first.
        due_.start(0);
        ages_.start();
    } else {
        due_.stop();
        ages_.stop();
    }
    UpdateStatus();
}

void LiveView::IntervalChanged(int seconds) {
    settings_.SetValue(SettingsGroup, IntervalValue, QString::number(seconds));
    if (due_.isActive() && !scanning_)
        due_.start(seconds * 1000);
}

void LiveView::ScanDue() {
    if (!Watching())
        return;
    // Busy (a scan, a dialog or an exchange): soon again. A started scan schedules the next when it ends.
    if (!startScan_ || !startScan_())
        due_.start(RetryMs);
}

void LiveView::ScanStarted(bool rebuild) {
    scanning_ = true;
    rebuilding_ = rebuild;
    answered_.clear();
}

void LiveView::DeviceAnswered(int index) {
    if (scanning_ && index >= 0 && index < devices_.Size())
        answered_.insert(DeviceWatch::Key(devices_.At(index).Identity));
}

void LiveView::ScanEnded(bool rebuild) {
    if (!scanning_)
        return;
    scanning_ = false;
    std::vector<const TOLG*> records;
    records.reserve(answered_.size());
    for (const TOLG& record : devices_.Records())
        if (answered_.contains(DeviceWatch::Key(record.Identity)))
            records.push_back(&record);
    answered_.clear();
    lastScanEndMs_ = clock_();
    watch_.TakeScan(records, lastScanEndMs_);
    // A rebuilt list holds only who answered; the watch follows it.
    if (rebuild || rebuilding_)
        watch_.ForgetMissing();
    UpdateStatus();
    emit MarksChanged();
    if (Watching())
        due_.start(IntervalSeconds() * 1000);
}

void LiveView::DeviceSelected(int index) {
    const WatchedDevice* device = Watched(index);
    if (!device || !device->New)
        return;
    watch_.ClearNew(watch_.Find(device->Record.Identity));
    emit RowMarksChanged(index);
}

bool LiveView::IsOffline(const TOLG& record) const {
    const int index = watch_.Find(record.Identity);
    return index >= 0 && !watch_.Devices()[static_cast<std::size_t>(index)].Online;
}

void LiveView::ForgetOffline() {
    watch_.ForgetOffline();
    UpdateStatus();
}

const WatchedDevice* LiveView::Watched(int index) const {
    if (index < 0 || index >= devices_.Size())
        return nullptr;
    const int watched = watch_.Find(devices_.At(index).Identity);
    return watched < 0 ? nullptr : &watch_.Devices()[static_cast<std::size_t>(watched)];
}

bool LiveView::IsOffline(int index) const {
    const WatchedDevice* device = Watched(index);
    return device && !device->Online;
}

bool LiveView::IsMarkedNew(int index) const {
    // The first scan finds everything: only what comes after it is news.
    const WatchedDevice* device = Watched(index);
    return device && device->New && watch_.ScanCount() > 1;
}

QString LiveView::LastSeenText(int index) const {
    const WatchedDevice* device = Watched(index);
    if (!device)
        return {};
    // Whoever answered the latest scan is there now, however long ago that scan ended.
    return device->Missed == 0 ? tr("now") : AgeText(clock_() - device->LastSeenMs);
}

QString LiveView::ToolTip(int index) const {
    const WatchedDevice* device = Watched(index);
    if (!device)
        return {};
    QStringList tips;
    if (!device->Online)
        tips << tr("Not answering: last seen %1, at %2")
                    .arg(AgeText(clock_() - device->LastSeenMs), TimeText(device->LastSeenMs));
    if (!device->Changes.empty()) {
        QStringList changes;
        for (const FieldChange& change : device->Changes)
            changes << ChangeText(change);
        tips << tr("Changed %1, at %2: %3")
                    .arg(AgeText(clock_() - device->ChangedMs), TimeText(device->ChangedMs),
                         changes.join(QStringLiteral(", ")));
    }
    return tips.join(QLatin1Char('\n'));
}

QString LiveView::AgeText(qint64 ms) {
    constexpr qint64 Minute = 60 * 1000;
    constexpr qint64 Hour = 60 * Minute;
    constexpr qint64 Day = 24 * Hour;
    if (ms < 1000)
        return tr("now");
    if (ms < Minute)
        return tr("%n s ago", nullptr, static_cast<int>(ms / 1000));
    if (ms < Hour)
        return tr("%n min ago", nullptr, static_cast<int>(ms / Minute));
    if (ms < Day)
        return tr("%n h ago", nullptr, static_cast<int>(ms / Hour));
    return tr("%n d ago", nullptr, static_cast<int>(ms / Day));
}

void LiveView::UpdateStatus() {
    const int offline = watch_.OfflineCount();
    forgetAction_->setEnabled(offline > 0);
    if (lastScanEndMs_ == 0) {
        status_->setText(tr("No scan yet"));
        return;
    }
    const int online = static_cast<int>(watch_.Devices().size()) - offline;
    status_->setText(
        tr("Last scan %1: %2 online, %3 offline")
            .arg(QDateTime::fromMSecsSinceEpoch(lastScanEndMs_).toString(QStringLiteral("hh:mm:ss")))
            .arg(online)
            .arg(offline));
}

} // namespace olg
