#include "TFormMain.h"

#include "ErrorBox.h"
#include "ModelDialogs.h"
#include "ScanLimit.h"
#include "TUpgradeForm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace olg {

namespace {

constexpr std::array<int, DeviceTableModel::ColumnCount> StartColumnWidths{150, 160, 90, 100, 0};
constexpr int ScanStartInterval = 10;
constexpr int ScanTickInterval = 250;
constexpr int ProgressStep = 10;
// Room for the text of a row; the classic 16 pixels clip the descenders of today's default fonts.
constexpr int MinRowHeight = 16;
constexpr int RowTextMargin = 4;
constexpr int CellTextMargin = 10;

// The classic widths, widened where the platform's font needs more room for the widest address texts.
int StartColumnWidth(int column, const QFontMetrics& metrics) {
    const int width = StartColumnWidths[static_cast<std::size_t>(column)];
    if (column == DeviceTableModel::AddressColumn)
        return std::max(width, metrics.horizontalAdvance(QStringLiteral("255.255.255.255")) + CellTextMargin);
    if (column == DeviceTableModel::MacColumn)
        return std::max(width,
                        metrics.horizontalAdvance(QStringLiteral("DD.DD.DD.DD.DD.DD")) + CellTextMargin);
    return width;
}

} // namespace

TFormMain::TFormMain(Prompts& prompts, const ExchangeSettings& settings, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), platform_(PlatformServices::Current()), devices_(registry_),
      actions_(*this), model_(new DeviceTableModel(devices_, this)),
      sortFilter_(new DeviceSortFilter(devices_, this)), timer_(new QTimer(this)),
      lanNote_(new QLabel(this)) {
    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(ScanTickInterval);
    // The ticks keep their period: a coarse timer may fire up to 5% early.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TFormMain::TimerTimer);

    ConnectActions();
    RegisterModelDialogs(dialogs_, *this);
    // The state before any scan: only Scan and Upgrade offered. The popup's items stay enabled, since the
    // popup never opens while nothing is listed.
    for (QAction* action :
         {actions_.ConfigButton, actions_.ConfigMenu, actions_.HomeButton, actions_.HomeMenu,
          actions_.PrintButton, actions_.LoadConfigMenu, actions_.SaveConfigMenu})
        action->setEnabled(false);
    for (QAction* action : {actions_.AdminButton, actions_.AdminMenu, actions_.AdminPopup}) {
        action->setEnabled(false);
        action->setVisible(false);
    }
    FormCreate(settings);
    resize(640, 400);

    if (!serveur_->BindError().isEmpty())
        QTimer::singleShot(0, this, &TFormMain::ReportBindError);
    CreateUpgradeForm();
}

void TFormMain::FormCreate(const ExchangeSettings& settings) {
    SelectDistribution();
    setWindowTitle(ApplicationTitle());
    LoadOptions();

    CreateGrid();
    CreateProgressBar();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CreateFilterBar());
    layout->addWidget(grid_);
    layout->addWidget(progressBar_);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    lanNote_->setObjectName(QStringLiteral("LanNote"));
    lanNote_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(lanNote_);
    CreateLiveView();

    registry_ = StandardRegistry();
    serveur_ = new TServeur(registry_, prompts_, settings, this);
    serveur_->SetDistributorCode(distribution_.DistributorCode);
}

TFormMain::~TFormMain() = default;

QString TFormMain::ApplicationTitle() {
    return QStringLiteral("eOutletGuard Finder");
}

void TFormMain::CreateGrid() {
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("StringGrid"));
    sortFilter_->setSourceModel(model_);
    grid_->setModel(sortFilter_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);
    grid_->setWordWrap(false);
    grid_->setShowGrid(true);
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = grid_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(MinRowHeight, grid_->fontMetrics().height() + RowTextMargin));

    QHeaderView* columns = grid_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setHighlightSections(false);
    // A title click sorts; the classic order of first replies comes back on the third.
    columns->setSectionsClickable(true);
    connect(columns, &QHeaderView::sectionClicked, this, &TFormMain::SortClick);
    columns->setMinimumSectionSize(0);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A right click on the titles must neither open the popup nor reach the grid.
    columns->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int column = 0; column < DeviceTableModel::ColumnCount; ++column)
        columns->resizeSection(column, StartColumnWidth(column, grid_->fontMetrics()));

    // The filler column follows every change of the grid's width, of a column and of the scroll position.
    grid_->viewport()->installEventFilter(this);
    connect(columns, &QHeaderView::sectionResized, this, [this](int column) {
        if (column != DeviceTableModel::FillerColumn)
            FitLastColumn();
    });
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TFormMain::FitLastColumn);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // The grid row as if unsorted and unfiltered, so that it names the device's list index.
                if (current.isValid())
                    StringGridSelectCell(current.column(),
                                         std::max(sortFilter_->ListIndex(current.row()), 0) + 1);
            });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        if (!StringGridContextPopup(position))
            actions_.GridPopup->popup(grid_->viewport()->mapToGlobal(position));
    });
    SelectFirstRow();
}

void TFormMain::SelectFirstRow() {
    // The empty row is current but not highlighted; the first device shown becomes the highlighted row.
    grid_->selectionModel()->setCurrentIndex(sortFilter_->index(0, 0), QItemSelectionModel::NoUpdate);
}

void TFormMain::CreateProgressBar() {
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setTextVisible(false);
    progressBar_->setFixedHeight(4);
    progressBar_->setStyleSheet(QStringLiteral("QProgressBar { border: none; background: transparent; }"
                                               "QProgressBar::chunk { background-color: navy; }"));
    progressBar_->hide();
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
    bind({actions_.PrintButton}, &TFormMain::Print);
    bind({actions_.LoadConfigMenu, actions_.LoadConfigPopup}, &TFormMain::LoadClick);
    bind({actions_.SaveConfigMenu, actions_.SaveConfigPopup}, &TFormMain::SaveClick);
    bind({actions_.ExportListMenu}, &TFormMain::ExportClick);
    bind({actions_.Options}, &TFormMain::OptionsClick);
    bind({actions_.ExitMenu}, &TFormMain::Quit);
    bind({actions_.AboutMenu}, &TFormMain::AboutMenuClick);
}

void TFormMain::ReportBindError() {
    ShowError(prompts_, ErrorConnection, serveur_->BindError());
}

void TFormMain::Scan() {
    // A click means a rebuilt list: it takes the place of a background scan.
    if (Scanning() && !backgroundScan_)
        return;
    timer_->stop();
    backgroundScan_ = false;
    ResetGrid();
    // Nothing can be sent: say why once, rather than once per request.
    if (!serveur_->BindError().isEmpty()) {
        ReportBindError();
        return;
    }
    liveView_->ScanStarted(true);
    tickCount_ = 0;
    timer_->setInterval(ScanStartInterval);
    timer_->start();
    progressBar_->setValue(0);
    progressBar_->show();
}

void TFormMain::TimerTimer() {
    timer_->stop();
    if (tickCount_ >= DiscoveriesPerScan) {
        progressBar_->hide();
        liveView_->ScanEnded(!backgroundScan_);
        backgroundScan_ = false;
        return;
    }
    progressBar_->setValue(tickCount_ * ProgressStep);
    timer_->setInterval(ScanTickInterval);
    ++tickCount_;
    serveur_->Discover(this, [this](const QString& sender, quint16 port, const QByteArray& datagram,
                                    bool complete) { DeviceReply(sender, port, datagram, complete); });
    // A broadcast that cannot leave has been reported; the next nine would only repeat it.
    if (serveur_->SendFailed()) {
        progressBar_->hide();
        return;
    }
    timer_->start();
}

void TFormMain::ResetGrid() {
    for (QAction* action : {actions_.ConfigMenu, actions_.ConfigButton, actions_.HomeMenu,
                            actions_.HomeButton, actions_.AdminMenu, actions_.AdminButton,
                            actions_.PrintButton, actions_.LoadConfigMenu, actions_.SaveConfigMenu})
        action->setEnabled(false);
    actions_.AdminMenu->setVisible(false);
    actions_.AdminButton->setVisible(false);
    // With no device listed, Upgrade is offered only by the full-featured variant.
    actions_.UpgradeButton->setEnabled(distribution_.FullFeatures);
    model_->Reset([this] { devices_.Clear(); });
    selectedDevice_ = 0;
    SelectFirstRow();
}

void TFormMain::DeviceReply(const QString& sender, quint16 /*port*/, const QByteArray& datagram,
                            bool complete) {
    const bool overflowed = devices_.Overflowed();
    // A background scan mostly hears again what the grid shows: a row that would not change is not
    // written again, so that thousands of answers cost little.
    const int known = backgroundScan_ ? ListedSource(datagram) : -1;
    const std::string shownBefore = known >= 0 ? ShownText(devices_.At(known)) : std::string();
    const int index = devices_.MergeReply(
        sender.toStdString(), reinterpret_cast<const std::uint8_t*>(datagram.constData()),
        static_cast<std::size_t>(datagram.size()), serveur_->ReplyInterface().toStdString());
    // Said once per scan, after this reply: a modal box must not hold up the delivery of the replies.
    if (!overflowed && devices_.Overflowed())
        QTimer::singleShot(0, this,
                           [this] { prompts_.ShowWarning(IgnoredDevicesWarning(devices_.Capacity())); });
    if (index >= 0)
        liveView_->DeviceAnswered(index);
    if (index >= 0 && complete && (index != known || ShownText(devices_.At(index)) != shownBefore))
        ShowDevice(index);
}

void TFormMain::ShowDevice(int index) {
    for (QAction* action :
         {actions_.ConfigMenu, actions_.ConfigButton, actions_.HomeMenu, actions_.HomeButton,
          actions_.PrintButton, actions_.UpgradeButton, actions_.LoadConfigMenu, actions_.SaveConfigMenu})
        action->setEnabled(true);
    UpdateAdminActions();
    model_->ShowRow(index);
    KeepSelectionShown();
}

void TFormMain::UpdateAdminActions() {
    if (devices_.Empty() || selectedDevice_ < 0 || selectedDevice_ >= devices_.Size())
        return;
    const int type = registry_.FindDeviceType(devices_.At(selectedDevice_).TypeValue());
    if (type < 0)
        return;
    const bool admin = registry_.Entry(type).HasAdminPage == 1;
    for (QAction* action : {actions_.AdminPopup, actions_.AdminMenu, actions_.AdminButton}) {
        action->setEnabled(admin);
        action->setVisible(admin);
    }
}

void TFormMain::FitLastColumn() {
    if (fitting_)
        return;
    fitting_ = true;
    QHeaderView* columns = grid_->horizontalHeader();
    const int leftmost = std::max(0, columns->logicalIndexAt(0));
    int sum = 0;
    for (int column = leftmost; column < DeviceTableModel::FillerColumn; ++column)
        sum += columns->sectionSize(column);
    // The Last seen column, when shown, stands before the filler.
    if (columns->count() > DeviceTableModel::LastSeenColumn)
        sum += columns->sectionSize(DeviceTableModel::LastSeenColumn);
    // The viewport already leaves out the frame and a vertical scroll bar.
    const int width = grid_->viewport()->width();
    columns->resizeSection(DeviceTableModel::FillerColumn, sum > width ? 0 : width - sum);
    fitting_ = false;
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (grid_ && watched == grid_->viewport() && event->type() == QEvent::Resize)
        FitLastColumn();
    // Anywhere on the grid, below the rows too: the view's own signal knows double clicks on cells only.
    if (grid_ && watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        StringGridDblClick();
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::StringGridSelectCell(int /*column*/, int row) {
    selectedDevice_ = row - 1;
    UpdateAdminActions();
    if (liveView_)
        liveView_->DeviceSelected(selectedDevice_);
}

bool TFormMain::StringGridContextPopup(const QPoint& viewportPosition) {
    const QModelIndex cell = grid_->indexAt(viewportPosition);
    const int row = cell.isValid() ? cell.row() + 1 : 0;
    if (row <= 0 || devices_.Empty())
        return true;
    grid_->setCurrentIndex(cell);
    return false;
}

void TFormMain::StringGridDblClick() {
    emit GridDoubleClicked();
    Home();
}

const DialogFactory::Runner* TFormMain::SelectedRunner() const {
    if (devices_.Empty())
        return nullptr;
    const int type = registry_.FindDeviceType(devices_.At(selectedDevice_).TypeValue());
    return type < 0 ? nullptr : dialogs_.Find(registry_.Entry(type).Model);
}

void TFormMain::Config() {
    const DialogFactory::Runner* runner = SelectedRunner();
    if (!runner)
        return;
    // A confirmed dialog has written the device, so its row and those of its neighbours may have changed.
    if ((*runner)(this, selectedDevice_, DialogFactory::Run::General) == 1)
        Scan();
}

void TFormMain::CreateUpgradeForm() {
    if (!upgradeForm_)
        upgradeForm_ = new TUpgradeForm(*serveur_, prompts_, neighbours_, this);
}

void TFormMain::UpgradeButtonClick() {
    // No test of the list: the full-featured variant upgrades any address with nothing listed.
    CreateUpgradeForm();
    upgradeForm_->SetFullFeatures(distribution_.FullFeatures);
    upgradeForm_->SetNeighbourCache(neighbours_);
    const bool listed = selectedDevice_ >= 0 && selectedDevice_ < devices_.Size();
    upgradeForm_->ShowUpgrade(listed ? QString::fromStdString(devices_.At(selectedDevice_).SenderAddress)
                                     : QString());
}

void TFormMain::Quit() {
    QCoreApplication::quit();
}

void TFormMain::ShowSimulatedLan(int deviceCount) {
    lanNote_->setText(deviceCount == 1 ? tr("Simulated LAN: 1 device from olgsim")
                                       : tr("Simulated LAN: %1 devices from olgsim").arg(deviceCount));
}

} // namespace olg
