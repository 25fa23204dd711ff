#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "DeviceSortFilter.h"
#include "DeviceTableModel.h"
#include "DialogFactory.h"
#include "DialogHost.h"
#include "Distribution.h"
#include "ExchangeSettings.h"
#include "IpNeighbourCache.h"
#include "LiveView.h"
#include "MacLog.h"
#include "MainWindowActions.h"
#include "PlatformServices.h"
#include "Prompts.h"
#include "TFormAbout.h"
#include "TServeur.h"
#include "WebAddress.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QTableView>
#include <QTimer>

namespace olg {

class TUpgradeForm;

// The main window: the scan, the list of devices found and its grid, and the actions on the selected device.
class TFormMain : public QMainWindow, public DialogHost {
    Q_OBJECT

public:
    static constexpr int DiscoveriesPerScan = 10;

    // Creates the device-type registry and the exchange; a port that cannot be bound is reported once the
    // window is up, and the window works without the network.
    TFormMain(Prompts& prompts, const ExchangeSettings& settings, QWidget* parent = nullptr);
    ~TFormMain() override;

    static QString ApplicationTitle();

    // The scan: ten discovery requests, 10 ms after the click and then every 250 ms.
    void Scan();
    // The same requests without rebuilding the list, for the live view; false, with nothing sent, while a
    // scan, a dialog or another exchange is in progress (TFormMainLive.cpp).
    bool BackgroundScan();
    // File > Forget Offline Devices: removes the devices the live view has seen go offline.
    void ForgetOfflineDevices();
    LiveView& Live() { return *liveView_; }
    void TimerTimer();
    void ResetGrid();
    // The one handler that merges every reply (discovery or read) into the list.
    void DeviceReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete) override;
    void ShowDevice(int index);
    void UpdateAdminActions();
    // Sizes the filler column so that the columns span the grid without a scroll bar.
    void FitLastColumn();

    // Grid events; rows count the title row, so grid row r shows list index r - 1.
    void StringGridSelectCell(int column, int row);
    // True when the event is handled so that no popup opens: on no device row, or with nothing listed.
    // Otherwise the row under the mouse becomes the selected one first.
    bool StringGridContextPopup(const QPoint& viewportPosition);
    void StringGridDblClick();

    // Actions on the selected device.
    void Config();
    void Home();
    void AdminButtonClick();
    void LoadClick();
    void SaveClick();
    // Configuration files: the reply handler of the read before a save, and the file of one listed record.
    void SaveReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete);
    bool WriteConfigFile(const QString& fileName, int index);
    bool ReadConfigFile(const QString& fileName, int index);
    void Print();
    // The list as shown, in its order and through its filter (TFormMainList.cpp).
    void SortClick(int column);
    void FilterChange(const QString& text);
    void ExportClick();
    void UpgradeButtonClick();
    void OptionsClick();
    void AboutMenuClick();
    void Quit();

    // Start-up and the MAC log (TFormMainStartup.cpp, TFormMainLabels.cpp).
    // The variant named by the build number of the program's version block.
    void SelectDistribution();
    void LoadOptions();
    void SaveOptions();
    // Adds the device to the MAC log, asking for the log's path when none is set.
    void AppendMacLog(int index);
    const QString& MacLogFile() const { return macLogFile_; }
    // What the about box shows.
    AboutFacts CollectAboutFacts() const;

    // Says in the status bar that the devices listed are simulated.
    void ShowSimulatedLan(int deviceCount);

    DeviceList& Devices() override { return devices_; }
    const DeviceList& Devices() const { return devices_; }
    int SelectedDevice() const { return selectedDevice_; }
    const DeviceRegistry& Registry() const { return registry_; }
    TServeur& Serveur() override { return *serveur_; }
    Prompts& UserPrompts() override { return prompts_; }
    DialogFactory& Dialogs() { return dialogs_; }
    const Distribution& GetDistribution() const { return distribution_; }
    // The host's neighbour table, cleared of a device's entry before its web pages open; the system's own
    // unless another is set (the window does not own it).
    NeighbourCache& Neighbours() { return *neighbours_; }
    void SetNeighbourCache(NeighbourCache& cache) { neighbours_ = &cache; }
    // The upgrade dialog, created once and kept for the whole run.
    void CreateUpgradeForm();
    TUpgradeForm* UpgradeForm() const { return upgradeForm_; }

signals:
    // Every double click on the grid, before Home runs.
    void GridDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const ExchangeSettings& settings);
    static MacLog::Entry MacLogEntry(const TOLG& record);
    void LogMacEntry(const MacLog::Entry& entry);
    // The dialog runner of the selected device's model; nullptr when nothing is listed or its type code
    // is not registered.
    const DialogFactory::Runner* SelectedRunner() const;
    void CreateGrid();
    void CreateProgressBar();
    void SelectFirstRow();
    QWidget* CreateFilterBar();
    // Highlights the selected device's row, or the first row shown when the filter hides it.
    void KeepSelectionShown();
    void ConnectActions();
    void ReportBindError();
    bool Scanning() const { return timer_->isActive(); }
    void CreateLiveView();
    // The list index of the device whose reply this is, or -1; and what its row shows.
    int ListedSource(const QByteArray& datagram) const;
    static std::string ShownText(const TOLG& record);
    void ShowLastSeenColumn(bool shown);
    void OpenWebPage(WebPage page);

    Prompts& prompts_;
    PlatformServices& platform_;
    Distribution distribution_;
    QString macLogFile_;
    DeviceRegistry registry_;
    DeviceList devices_;
    int selectedDevice_ = 0;
    DialogFactory dialogs_;
    TServeur* serveur_ = nullptr;
    MainWindowActions actions_;
    DeviceTableModel* model_;
    DeviceSortFilter* sortFilter_;
    QLineEdit* filterEdit_ = nullptr;
    QTableView* grid_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QTimer* timer_;
    // Ticks of the running scan.
    int tickCount_ = 0;
    // The running scan keeps the list (a background scan of the live view).
    bool backgroundScan_ = false;
    LiveView* liveView_ = nullptr;
    QLabel* lanNote_;
    TUpgradeForm* upgradeForm_ = nullptr;
    bool fitting_ = false;
    IpNeighbourCache systemNeighbours_;
    NeighbourCache* neighbours_ = &systemNeighbours_;
    // The read before a save: the device read and whether it answered.
    DeviceIdentity readIdentity_{};
    bool replyReceived_ = false;
};

} // namespace olg
