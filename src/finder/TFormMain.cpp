#include "TFormMain.h"

#include "ApplicationTitle.h"
#include "DeviceCaption.h"
#include "ModelDialogs.h"
#include "RegisteredEntry.h"
#include "TUpgradeForm.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace olg {

TFormMain::TFormMain(PlatformServices& platform, Prompts& prompts, const ExchangeSettings& settings,
                     QWidget* parent)
    : QMainWindow(parent), platform_(platform), prompts_(prompts), registry_(StandardRegistry()),
      devices_(registry_), serveur_(new TServeur(registry_, prompts, settings, this)), actions_(*this),
      grid_(new DeviceGrid(devices_, this)), export_(new DeviceListExport(devices_, prompts, this)),
      scan_(new ScanController(*serveur_, prompts, devices_, *grid_, this)),
      files_(new ConfigFileController(
          devices_, registry_, *serveur_, prompts,
          [this](const QString& sender, quint16 port, const QByteArray& datagram, bool complete) {
              DeviceReply(sender, port, datagram, complete);
          },
          this)),
      labels_(new LabelController(devices_, registry_, platform, prompts, this)),
      webPages_(new WebPageController(devices_, registry_, platform, prompts, this)),
      upgrade_(new UpgradeController(*serveur_, prompts, platform.Neighbours(), this)),
      bulk_(new BulkActionController(devices_, *serveur_, prompts, platform.Neighbours(), this)),
      lanNote_(new QLabel(this)) {
    ConnectActions();
    RegisterModelDialogs(dialogs_, *this);
    FormCreate();
    RestoreLayout();

    if (!serveur_->BindError().isEmpty())
        QTimer::singleShot(0, scan_, &ScanController::ReportBindError);
    CreateUpgradeForm();
}

void TFormMain::FormCreate() {
    SelectDistribution();
    setWindowTitle(ApplicationTitle());
    LoadOptions();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid_->FilterBar());
    layout->addWidget(grid_->Grid());
    layout->addWidget(scan_->ProgressBar());
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    lanNote_->setObjectName(QStringLiteral("LanNote"));
    lanNote_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(lanNote_);
    statusBar()->addPermanentWidget(grid_->FilterBar()->Note());
    CreateLiveView();
}

void TFormMain::CreateLiveView() {
    liveView_ = new LiveView(*this, devices_, platform_.Settings(), actions_.FileMenu, actions_.N4);
    grid_->SetLiveView(*liveView_);
    scan_->SetLiveView(*liveView_);
    liveView_->SetScanStarter([this] { return BackgroundScan(); });
    connect(liveView_, &LiveView::ForgetOfflineRequested, this, &TFormMain::ForgetOfflineDevices);
    connect(grid_, &DeviceGrid::SelectionChanged, liveView_,
            [this] { liveView_->DeviceSelected(SelectedDevice()); });
}

void TFormMain::ForgetOfflineDevices() {
    if (devices_.Empty())
        return;
    const DeviceIdentity selected =
        devices_.At(std::clamp(SelectedDevice(), 0, devices_.Size() - 1)).Identity;
    grid_->Rebuild(
        [this] { devices_.RemoveIf([this](const TOLG& record) { return liveView_->IsOffline(record); }); },
        [this, &selected] { return devices_.Find(selected); });
    liveView_->ForgetOffline();
    if (devices_.Empty())
        ResetGrid();
    UpdateActions();
}

TFormMain::~TFormMain() {
    SaveLayout();
}

namespace {

const QString WindowGroup = QStringLiteral("Window");
const QString GeometryValue = QStringLiteral("Geometry");
const QString ColumnsValue = QStringLiteral("Columns");
constexpr int ReportMs = 10000;

} // namespace

void TFormMain::RestoreLayout() {
    resize(640, 400);
    SettingsStore& settings = platform_.Settings();
    restoreGeometry(QByteArray::fromBase64(settings.Value(WindowGroup, GeometryValue).toLatin1()));
    grid_->RestoreState(QByteArray::fromBase64(settings.Value(WindowGroup, ColumnsValue).toLatin1()));
}

void TFormMain::SaveLayout() {
    SettingsStore& settings = platform_.Settings();
    settings.SetValue(WindowGroup, GeometryValue, QString::fromLatin1(saveGeometry().toBase64()));
    settings.SetValue(WindowGroup, ColumnsValue, QString::fromLatin1(grid_->SaveState().toBase64()));
}

void TFormMain::Report(const QString& text) {
    if (!text.isEmpty())
        statusBar()->showMessage(text, ReportMs);
}

QString TFormMain::ApplicationTitle() {
    return olg::ApplicationTitle();
}

void TFormMain::ConnectActions() {
    const auto bind = [this](std::initializer_list<QAction*> entries, void (TFormMain::*handler)()) {
        for (QAction* entry : entries)
            connect(entry, &QAction::triggered, this, handler);
    };
    bind({actions_.ScanButton, actions_.ScanMenu}, &TFormMain::Scan);
    bind({actions_.ConfigButton, actions_.ConfigMenu, actions_.ConfigPopup}, &TFormMain::Config);
    bind({actions_.HomeButton, actions_.HomeMenu, actions_.HomePopup}, &TFormMain::Home);
    bind({actions_.AdminButton, actions_.AdminMenu, actions_.AdminPopup}, &TFormMain::AdminButtonClick);
    bind({actions_.UpgradeButton}, &TFormMain::UpgradeButtonClick);
    bind({actions_.AssignAddressesMenu}, &TFormMain::AssignAddressesClick);
    bind({actions_.UpgradeSelectedMenu}, &TFormMain::UpgradeSelectedClick);
    bind({actions_.PrintButton}, &TFormMain::Print);
    bind({actions_.LoadConfigMenu, actions_.LoadConfigPopup}, &TFormMain::LoadClick);
    bind({actions_.SaveConfigMenu, actions_.SaveConfigPopup}, &TFormMain::SaveClick);
    bind({actions_.ExportListMenu}, &TFormMain::ExportClick);
    bind({actions_.Options}, &TFormMain::OptionsClick);
    bind({actions_.ExitMenu}, &TFormMain::Quit);
    bind({actions_.AboutMenu}, &TFormMain::AboutMenuClick);

    connect(scan_, &ScanController::Starting, this, &TFormMain::ResetGrid);
    connect(scan_, &ScanController::Finished, grid_, &DeviceGrid::ScanFinished);
    connect(scan_, &ScanController::Finished, this, &TFormMain::UpdateActions);
    connect(scan_, &ScanController::DeviceShown, this, &TFormMain::UpdateActions);
    connect(grid_, &DeviceGrid::SelectionChanged, this, &TFormMain::UpdateActions);
    connect(grid_, &DeviceGrid::DoubleClicked, this, &TFormMain::StringGridDblClick);
    connect(grid_, &DeviceGrid::PopupRequested, actions_.GridPopup,
            [this](const QPoint& position) { actions_.GridPopup->popup(position); });
}

void TFormMain::SelectDistribution() {
    distribution_ = Distribution::Of(platform_.ExecutableFile());
    serveur_->SetDistributorCode(distribution_.DistributorCode);
    UpdateActions();
}

void TFormMain::UpdateActions() {
    // A device of an unregistered type leaves the Administration entries as they were.
    if (const TConfigDevice* entry = RegisteredEntry(devices_, registry_, ActedOn()))
        adminPage_ = entry->HasAdminPage == 1;
    actions_.Update({scanned_, grid_->SelectionShown(), static_cast<int>(grid_->SelectedDevices().size()),
                     scan_->Scanning(), adminPage_, distribution_.Known, distribution_.FullFeatures});
}

void TFormMain::ResetGrid() {
    scanned_ = true;
    grid_->Reset([this] { devices_.Clear(); });
    UpdateActions();
}

void TFormMain::StringGridDblClick() {
    emit GridDoubleClicked();
    Home();
}

const DialogFactory::Runner* TFormMain::RunnerFor(int index) const {
    const TConfigDevice* entry = RegisteredEntry(devices_, registry_, index);
    return entry ? dialogs_.Find(entry->Model) : nullptr;
}

void TFormMain::Config() {
    const int index = ActedOn();
    const DialogFactory::Runner* runner = RunnerFor(index);
    if (!runner)
        return;
    // Named as the user chose it, before the dialog renames it.
    const QString caption = DeviceCaption(devices_.At(index));
    if ((*runner)(this, index, DialogFactory::Run::General) != QDialog::Accepted)
        return;
    Report(tr("%1: settings sent").arg(caption));
    // The device has been written, so its row and those of its neighbours may have changed.
    Scan();
}

void TFormMain::LoadClick() {
    const DialogFactory::Runner* runner = RunnerFor(ActedOn());
    if (!runner)
        return;
    const QString caption = DeviceCaption(devices_.At(ActedOn()));
    QString fileName;
    const int index = files_->Load(ActedOn(), &fileName);
    if (index < 0 || (*runner)(this, index, DialogFactory::Run::Loaded) != QDialog::Accepted)
        return;
    Report(tr("%1: configuration from %2 sent").arg(caption, fileName));
    // The device has been written, so its row and those of its neighbours may have changed.
    Scan();
}

void TFormMain::UpgradeButtonClick() {
    // The full-featured variant upgrades any address with nothing selected.
    const int index = ActedOn();
    const QString address = index >= 0 ? QString::fromStdString(devices_.At(index).SenderAddress) : QString();
    if (upgrade_->Open(address, distribution_.FullFeatures) == QDialog::Accepted)
        Report(upgrade_->ResultText(devices_));
}

void TFormMain::AssignAddressesClick() {
    if (scan_->Scanning() || !bulk_->AssignAddresses(grid_->SelectedDevices()))
        return;
    // The list shows the old addresses until the devices answer from their new ones.
    Scan();
}

void TFormMain::UpgradeSelectedClick() {
    if (!scan_->Scanning())
        Report(bulk_->UpgradeDevices(grid_->SelectedDevices(), UpgradeForm()->UpgradeFile()->text()));
}

void TFormMain::AboutMenuClick() {
    TFormAbout(CollectAboutFacts(), platform_.Browser()).Execute(this);
}

void TFormMain::Quit() {
    QCoreApplication::quit();
}

void TFormMain::ShowSimulatedLan(int deviceCount) {
    lanNote_->setText(deviceCount == 1 ? tr("Simulated LAN: 1 device from olgsim")
                                       : tr("Simulated LAN: %1 devices from olgsim").arg(deviceCount));
}

} // namespace olg
