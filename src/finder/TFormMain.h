#pragma once

#include "ConfigFileController.h"
#include "DeviceGrid.h"
#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "DialogFactory.h"
#include "DialogHost.h"
#include "Distribution.h"
#include "ExchangeSettings.h"
#include "LabelController.h"
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
    // Creates the device-type registry and the exchange; a port that cannot be bound is reported once the
    // window is up, and the window works without the network.
    TFormMain(PlatformServices& platform, Prompts& prompts, const ExchangeSettings& settings,
              QWidget* parent = nullptr);
    ~TFormMain() override;

    static QString ApplicationTitle();

    // The scan and the list.
    void Scan() { scan_->Scan(); }
    void TimerTimer() { scan_->TimerTimer(); }
    void ResetGrid();
    // The one handler that merges every reply (discovery or read) into the list.
    void DeviceReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete) override;
    void ShowDevice(int index);
    // Sets every entry's state from the list, the selection and the variant.
    void UpdateActions();
    void FitLastColumn() { grid_->FitLastColumn(); }
    void StringGridSelectCell(int column, int row) { grid_->SelectCell(column, row); }
    bool StringGridContextPopup(const QPoint& viewportPosition) {
        return grid_->ContextPopup(viewportPosition);
    }
    void StringGridDblClick();
    void SortClick(int column) { grid_->SortClick(column); }
    void FilterChange(const QString& text) { grid_->FilterChange(text); }
    void ExportClick() { grid_->ExportClick(); }

    // Actions on the selected device.
    void Config();
    void Home() { webPages_->Open(SelectedDevice(), WebPage::Home); }
    void AdminButtonClick() { webPages_->Open(SelectedDevice(), WebPage::Administration); }
    void LoadClick();
    void SaveClick() { files_->Save(SelectedDevice()); }
    void Print() { labels_->Print(SelectedDevice()); }
    void UpgradeButtonClick();

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
    ScanController* scan_;
    ConfigFileController* files_;
    LabelController* labels_;
    WebPageController* webPages_;
    UpgradeController* upgrade_;
    QLabel* lanNote_;
    // What the entries' states follow besides the selection and the variant.
    ActionInputs::Listing listing_ = ActionInputs::Listing::NotScanned;
    bool adminPage_ = false;
};

} // namespace olg
