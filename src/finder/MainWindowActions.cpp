#include "MainWindowActions.h"

#include <QIcon>
#include <QMenuBar>
#include <QStyle>

namespace olg {

namespace {

QAction* NewAction(QObject* owner, const char* name, const QString& text) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QLatin1String(name));
    return action;
}

// A toolbar button: the theme's icon where the desktop has one, else the style's.
QAction* NewButton(QToolBar* toolBar, const char* name, const QString& hint, const char* themeIcon,
                   QStyle::StandardPixmap fallback) {
    QAction* action = NewAction(toolBar, name, hint);
    action->setToolTip(hint);
    action->setIcon(QIcon::fromTheme(QLatin1String(themeIcon), toolBar->style()->standardIcon(fallback)));
    toolBar->addAction(action);
    return action;
}

QAction* NewItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = NewAction(menu, name, caption);
    menu->addAction(action);
    return action;
}

} // namespace

MainWindowActions::MainWindowActions(QMainWindow& window) {
    ToolBar = window.addToolBar(QMainWindow::tr("Toolbar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ScanButton =
        NewButton(ToolBar, "ScanButton", QMainWindow::tr("Scan"), "view-refresh", QStyle::SP_BrowserReload);
    ConfigButton = NewButton(ToolBar, "ConfigButton", QMainWindow::tr("Configure"), "document-properties",
                             QStyle::SP_FileDialogDetailedView);
    HomeButton = NewButton(ToolBar, "HomeButton", QMainWindow::tr("Home"), "go-home", QStyle::SP_DirHomeIcon);
    AdminButton = NewButton(ToolBar, "AdminButton", QMainWindow::tr("Administration"), "preferences-system",
                            QStyle::SP_FileDialogInfoView);
    UpgradeButton = NewButton(ToolBar, "UpgradeButton", QMainWindow::tr("Upgrade"), "system-software-update",
                              QStyle::SP_ArrowUp);
    PrintButton = NewButton(ToolBar, "PrintButton", QMainWindow::tr("Print MAC Address"), "document-print",
                            QStyle::SP_FileDialogContentsView);

    FileMenu = window.menuBar()->addMenu(QMainWindow::tr("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    ScanMenu = NewItem(FileMenu, "ScanMenu", QMainWindow::tr("&Scan"));
    ScanMenu->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_F5)});
    ConfigMenu = NewItem(FileMenu, "ConfigMenu", QMainWindow::tr("&Configure"));
    HomeMenu = NewItem(FileMenu, "HomeMenu", QMainWindow::tr("&Home"));
    AdminMenu = NewItem(FileMenu, "AdminMenu", QMainWindow::tr("A&dministration"));
    AssignAddressesMenu = NewItem(FileMenu, "AssignAddressesMenu", QMainWindow::tr("Assign Add&resses..."));
    UpgradeSelectedMenu =
        NewItem(FileMenu, "UpgradeSelectedMenu", QMainWindow::tr("&Upgrade Selected Devices..."));
    FileMenu->addSeparator();
    LoadConfigMenu = NewItem(FileMenu, "LoadConfigMenu", QMainWindow::tr("&Load Config"));
    SaveConfigMenu = NewItem(FileMenu, "SaveConfigMenu", QMainWindow::tr("S&ave Config"));
    ExportListMenu = NewItem(FileMenu, "ExportListMenu", QMainWindow::tr("&Export Device List..."));
    N4 = FileMenu->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    Options = NewItem(FileMenu, "Options", QMainWindow::tr("&Options"));
    FileMenu->addSeparator();
    ExitMenu = NewItem(FileMenu, "ExitMenu", QMainWindow::tr("E&xit"));

    HelpMenu = window.menuBar()->addMenu(QMainWindow::tr("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    AboutMenu = NewItem(HelpMenu, "AboutMenu", QMainWindow::tr("&About..."));

    GridPopup = new QMenu(&window);
    GridPopup->setObjectName(QStringLiteral("GridPopup"));
    ConfigPopup = NewItem(GridPopup, "ConfigPopup", QMainWindow::tr("Configure"));
    HomePopup = NewItem(GridPopup, "HomePopup", QMainWindow::tr("Home"));
    AdminPopup = NewItem(GridPopup, "AdminPopup", QMainWindow::tr("Administration"));
    GridPopup->addSeparator();
    LoadConfigPopup = NewItem(GridPopup, "LoadConfigPopup", QMainWindow::tr("Load Config"));
    SaveConfigPopup = NewItem(GridPopup, "SaveConfigPopup", QMainWindow::tr("Save Config"));
}

void MainWindowActions::Update(const ActionInputs& inputs) {
    const bool shown = inputs.Selection;
    // A variant that is not named keeps the entries as built: Print and Options offered, Upgrade enabled
    // until a scan starts.
    const bool fullOffer = !inputs.VariantKnown || inputs.FullFeatures;
    for (QAction* action :
         {ConfigButton, ConfigMenu, HomeButton, HomeMenu, PrintButton, LoadConfigMenu, SaveConfigMenu})
        action->setEnabled(shown);
    // The popup opens only on a device row, so its items need no state of their own.
    for (QAction* action : {ConfigPopup, HomePopup, LoadConfigPopup, SaveConfigPopup})
        action->setEnabled(true);
    for (QAction* action : {AdminButton, AdminMenu}) {
        action->setEnabled(shown && inputs.AdminPage);
        action->setVisible(shown && inputs.AdminPage);
    }
    AdminPopup->setEnabled(inputs.AdminPage);
    AdminPopup->setVisible(inputs.AdminPage);
    // With no device selected, Upgrade is offered only by the full-featured variant.
    UpgradeButton->setVisible(true);
    UpgradeButton->setEnabled(shown || inputs.FullFeatures || (!inputs.Scanned && !inputs.VariantKnown));
    // One device is enough: the bulk dialogs check what Configure does not (addresses taken, the warning
    // once).
    for (QAction* action : {AssignAddressesMenu, UpgradeSelectedMenu})
        action->setEnabled(inputs.SelectedRows > 0 && !inputs.Scanning);
    for (QAction* action : {PrintButton, N4, Options})
        action->setVisible(fullOffer);
}

} // namespace olg
