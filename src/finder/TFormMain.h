#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "DeviceTableModel.h"
#include "DialogFactory.h"
#include "Distribution.h"
#include "ExchangeSettings.h"
#include "MainWindowActions.h"
#include "Prompts.h"
#include "TServeur.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QTableView>
#include <QTimer>

namespace olg {

class TUpgradeForm;

// The main window: the scan, the list of devices found and its grid, and the actions on the selected device.
class TFormMain : public QMainWindow {
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
    void TimerTimer();
    void ResetGrid();
    // The one handler that merges every reply (discovery or read) into the list.
    void DeviceReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete);
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
    void Print();
    void UpgradeButtonClick();
    void OptionsClick();
    void AboutMenuClick();
    void Quit();

    // Says in the status bar that the devices listed are simulated.
    void ShowSimulatedLan(int deviceCount);

    DeviceList& Devices() { return devices_; }
    const DeviceList& Devices() const { return devices_; }
    int SelectedDevice() const { return selectedDevice_; }
    const DeviceRegistry& Registry() const { return registry_; }
    TServeur& Serveur() { return *serveur_; }
    DialogFactory& Dialogs() { return dialogs_; }
    const Distribution& GetDistribution() const { return distribution_; }
    // The upgrade dialog, created once and kept for the whole run.
    void CreateUpgradeForm();
    TUpgradeForm* UpgradeForm() const { return upgradeForm_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateGrid();
    void CreateProgressBar();
    void SelectFirstRow();
    void ConnectActions();
    void ReportBindError();
    bool Scanning() const { return timer_->isActive(); }

    Prompts& prompts_;
    Distribution distribution_;
    DeviceRegistry registry_;
    DeviceList devices_;
    int selectedDevice_ = 0;
    DialogFactory dialogs_;
    TServeur* serveur_;
    MainWindowActions actions_;
    DeviceTableModel* model_;
    QTableView* grid_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QTimer* timer_;
    // Ticks of the running scan.
    int tickCount_ = 0;
    QLabel* lanNote_;
    TUpgradeForm* upgradeForm_ = nullptr;
    bool fitting_ = false;
};

} // namespace olg
