#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

namespace olg {

// The entries of the toolbar, the File and Help menus and the grid popup, each named as the control it
// stands for. A command's toolbar button, menu item and popup item are separate actions because they are
// enabled at different moments: the popup's items, for one, stay enabled throughout.
struct MainWindowActions {
    explicit MainWindowActions(QMainWindow& window);

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
