#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

namespace olg {

// What the entries' states follow.
struct ActionInputs {
    // Before the first scan the entries stand as the window was built.
    bool Scanned = false;
    // A device is selected on a row the user sees: only then do the actions on a device act.
    bool Selection = false;
    // How many devices the user sees highlighted, for the actions on all of them.
    int SelectedRows = 0;
    // A scan is running: its replies are its own, so nothing starts an exchange of many devices meanwhile.
    bool Scanning = false;
    // Whether the selected device has an administration page. A device of an unregistered type keeps the
    // answer of the registered one selected before it.
    bool AdminPage = false;
    // The distribution variant: whether the version block named one, and whether it is the full-featured one.
    bool VariantKnown = false;
    bool FullFeatures = false;
};

// The entries of the toolbar, the File and Help menus and the grid popup, each named as the control it
// stands for. A command's toolbar button, menu item and popup item are separate actions because they are
// enabled at different moments: the popup's items, for one, stay enabled throughout.
struct MainWindowActions {
    explicit MainWindowActions(QMainWindow& window);

    // Sets every entry's enabled and visible state; the one place that does.
    void Update(const ActionInputs& inputs);

    QToolBar* ToolBar;
    QAction* ScanButton;
    QAction* ConfigButton;
    QAction* HomeButton;
    QAction* AdminButton;
    QAction* UpgradeButton;
    QAction* PrintButton;

    QMenu* FileMenu;
    QAction* ScanMenu;
    QAction* ConfigMenu;
    QAction* HomeMenu;
    QAction* AdminMenu;
    QAction* AssignAddressesMenu;
    QAction* UpgradeSelectedMenu;
    QAction* LoadConfigMenu;
    QAction* SaveConfigMenu;
    QAction* ExportListMenu;
    QAction* N4;
    QAction* Options;
    QAction* ExitMenu;

    QMenu* HelpMenu;
    QAction* AboutMenu;

    QMenu* GridPopup;
    QAction* ConfigPopup;
    QAction* HomePopup;
    QAction* AdminPopup;
    QAction* LoadConfigPopup;
    QAction* SaveConfigPopup;
};

} // namespace olg
