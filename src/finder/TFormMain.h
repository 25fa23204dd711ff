#pragma once

#include "BulkActionController.h"
#include "ConfigFileController.h"
#include "DeviceGrid.h"
#include "DeviceList.h"
#include "DeviceListExport.h"
#include "DeviceRegistry.h"
#include "DialogFactory.h"
#include "DialogHost.h"
#include "Distribution.h"
#include "ExchangeSettings.h"
#include "LabelController.h"
#include "LiveView.h"
#include "MainWindowActions.h"
#include "PlatformServices.h"
#include "Prompts.h"
#include "ScanController.h"
#include "TFormAbout.h"
#include "TServeur.h"
#include "UpgradeController.h"
#include "WebPageController.h"

#include <QLabel>
#include <QMainWindow>

namespace olg {

class TUpgradeForm;

// The main window: the grid of the devices found and the actions on the selected one. The work is done by
// its controllers (scan, grid, configuration files, labels, web pages, upgrade), which are handed the
// platform's services, the prompts and the exchange; the window's handlers pass each action on to them.
class TFormMain : public QMainWindow, public DialogHost {
    Q_OBJECT

public:
    static constexpr int DiscoveriesPerScan = ScanController::DiscoveriesPerScan;

    // Creates the device-type registry and the exchange; a port that cannot be bound is reported once the
    // window is up, and the window works without the network.
    TFormMain(PlatformServices& platform, Prompts& prompts, const ExchangeSettings& settings,
              QWidget* parent = nullptr);
    ~TFormMain() override;

    static QString ApplicationTitle();

    // The scan and the list.
    void Scan() { scan_->Scan(); }
    // The same requests without rebuilding the list, for the live view; false while busy.
    bool BackgroundScan() { return scan_->BackgroundScan(); }
    // File > Forget Offline Devices: removes the devices the live view has seen go offline.
    void ForgetOfflineDevices();
    LiveView& Live() { return *liveView_; }
    void TimerTimer() { scan_->TimerTimer(); }
    void ResetGrid();
    // The one handler that merges every reply (discovery or read) into the list.
    void DeviceReply(const QString& sender, quint16 port, const QByteArray& datagram,
                     bool complete) override {
        scan_->DeviceReply(sender, port, datagram, complete);
    }
    void ShowDevice(int index) { scan_->ShowDevice(index); }
    // Sets every entry's state from the list, the selection and the variant.
    void UpdateActions();
    void StringGridSelectCell(int column, int row) { grid_->SelectCell(column, row); }
    bool StringGridContextPopup(const QPoint& viewportPosition) {
        return grid_->ContextPopup(viewportPosition);
    }
    void StringGridDblClick();
    void SortClick(int column) { grid_->SortClick(column); }
    void FilterChange(const QString& text) { grid_->FilterChange(text); }
    void ExportClick() { Report(export_->Run(grid_->ShownDevices())); }

    // Actions on the selected device, when its row is shown and highlighted.
    void Config();
    void Home() { webPages_->Open(ActedOn(), WebPage::Home); }
    void AdminButtonClick() { webPages_->Open(ActedOn(), WebPage::Administration); }
    void LoadClick();
    void SaveClick() { Report(files_->Save(ActedOn())); }
    void Print() { labels_->Print(ActedOn()); }
    void UpgradeButtonClick();
    // Actions on every device highlighted, in the order shown.
    void AssignAddressesClick();
    void UpgradeSelectedClick();

    // The program's own: options and the MAC log, start-up, about, exit.
    void OptionsClick() { labels_->OptionsClick(); }
    void LoadOptions() { labels_->LoadOptions(); }
    void SaveOptions() { labels_->SaveOptions(); }
    void AppendMacLog(int index) { labels_->AppendMacLog(index); }
    const QString& MacLogFile() const { return labels_->MacLogFile(); }
    // The variant named by the build number of the program's version block.
    void SelectDistribution();
    AboutFacts CollectAboutFacts() const { return AboutFacts::Collect(platform_, distribution_); }
    void AboutMenuClick();
    void Quit();

    // Says in the status bar that the devices listed are simulated.
    void ShowSimulatedLan(int deviceCount);

    DeviceList& Devices() override { return devices_; }
    const DeviceList& Devices() const { return devices_; }
    int SelectedDevice() const { return grid_->SelectedDevice(); }
    // The selected device while its row is shown and highlighted, else -1.
    int ActedOn() const { return grid_->SelectionShown() ? SelectedDevice() : -1; }
    const DeviceRegistry& Registry() const { return registry_; }
    TServeur& Serveur() override { return *serveur_; }
    Prompts& UserPrompts() override { return prompts_; }
    DialogFactory& Dialogs() { return dialogs_; }
    const Distribution& GetDistribution() const { return distribution_; }
    // The upgrade dialog, created once and kept for the whole run.
    void CreateUpgradeForm() { upgrade_->CreateUpgradeForm(); }
    TUpgradeForm* UpgradeForm() const { return upgrade_->UpgradeForm(); }

signals:
    // Every double click on the grid, before Home runs.
    void GridDoubleClicked();

private:
    void FormCreate();
    void CreateLiveView();
    // The window's size and place, the columns' widths and the sort order, from one run to the next.
    void RestoreLayout();
    void SaveLayout();
    // Says in the status bar what an action did; nothing for an empty text.
    void Report(const QString& text);
    void ConnectActions();
    // The dialog runner of this device's model; nullptr when nothing is listed there or its type code is
    // not registered.
    const DialogFactory::Runner* RunnerFor(int index) const;

    PlatformServices& platform_;
    Prompts& prompts_;
    Distribution distribution_;
    DeviceRegistry registry_;
    DeviceList devices_;
    DialogFactory dialogs_;
    TServeur* serveur_;
    MainWindowActions actions_;
    DeviceGrid* grid_;
    DeviceListExport* export_;
    ScanController* scan_;
    ConfigFileController* files_;
    LabelController* labels_;
    WebPageController* webPages_;
    UpgradeController* upgrade_;
    BulkActionController* bulk_;
    LiveView* liveView_ = nullptr;
    QLabel* lanNote_;
    // What the entries' states follow besides the selection and the variant.
    bool scanned_ = false;
    bool adminPage_ = false;
};

} // namespace olg
