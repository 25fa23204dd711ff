#pragma once

#include "ComponentOwner.h"
#include "ParamDescriptor.h"
#include "TOLG.h"

#include <QDialog>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace Ui {
class GeneralTab;
}

namespace olg {

class DialogHost;
class BoundCheckBox;
class BoundEdit;
class BoundSpinEdit;
class TIPEdit;
class MaskedRadioButton;

// The "Properties" dialog of one device, which every model dialog derives from. It shows the General tab
// (GeneralTab.ui) first, binds every owned control to a parameter of its private copy of the device's record
// by the control's tag, runs either on the device's settings (ShowGeneral: General tab, Options for the rest)
// or on a configuration just loaded from a file (ShowLoaded: every tab at once), refuses two equal logins and
// writes the result to the device.
//
// A model dialog is one of these built from the model's description (ModelForms.h):
//  1. Its own tabs come from its own Qt Designer form: a QWidget form holding one QTabWidget with the model's
//     tabs (never General). Set the form up on a holder widget and hand the tab widget to AddFormTabs, which
//     moves its pages, in order, behind General and registers their components in creation order. The
//     form's widget pointers stay valid; the holder may be deleted afterwards.
//         Ui::Tolg1nForm form;  QWidget holder;  form.setupUi(&holder);  AddFormTabs(form.Tabs);
//  2. The run-time pages are created with *this as owner and PageControl as their page control, at the
//     positions the model gives; each registers its controls as it creates them.
//  3. Version-dependent changes work on the public component pointers below (DHCP->setVisible, ...).
//  4. AddLogins with the model's parameter table.
// The olg8w extras of the General tab are added by AddDnsFields, AddAccessChoice and AddVersionBox, and
// MovePortIntoConfigBox moves the port field for firmware that has the HTTP/HTTPS choice.
//
// Radio buttons with a mask that share parameter, mask and byte form one exclusive group each, wherever they
// are laid out, and never exclude buttons of another group sharing their parent. A value none of them
// stands for shows none checked, and storing then leaves it as it was.
class TOlgForm : public QDialog, public ComponentOwner {
    Q_OBJECT

public:
    explicit TOlgForm(DialogHost& host, QWidget* parent = nullptr);
    ~TOlgForm() override;

    // The position of the device in the host's device list, set before a run (the dialog's tag).
    void SetDeviceIndex(int index) { deviceIndex_ = index; }
    int DeviceIndex() const { return deviceIndex_; }
    // The dialog's private copy of the device's record.
    const TOLG& local_olg() const { return localOlg_; }
    bool Advanced() const { return advanced_; }
    const std::vector<int>& LoginIds() const { return loginIds_; }

    // The general run; returns QDialog::Accepted (1) after OK, whether the device answered the write or not.
    int ShowGeneral();
    // The run on a configuration loaded into the device's record: every tab but the last, no Options button.
    // A dialog whose only tab is General keeps it shown, as hiding it would leave an empty dialog.
    int ShowLoaded();

    // Appends every id of the table whose values must differ from each other (the logins), in table order.
    void AddLogins(const TConfigFile& params);
    // 0 loads every control; n > 0 only those on tab n - 1 (at any depth); -n all but those.
    void LoadControls(int pageFilter);
    void StoreControls();
    // False, after saying so, when two logins are equal (two empty ones included).
    bool CheckLogins();

    // Handlers.
    void OKBtnClick();
    void AvanceButtonClick();
    void DHCPChange();
    // olg8w: the port is used only for HTTP access.
    void http_accessClick();
    void OnOptionsRead(const QString& sender, quint16 port, const QByteArray& datagram, bool success);
    void OnWriteDone(bool success);

    // Building blocks for the model dialogs (see above).
    void AddFormTabs(QTabWidget* formTabs);
    // Registers the widget and every named widget below it, in creation order.
    void RegisterComponents(QWidget* root);
    void AddDnsFields();
    void AddAccessChoice();
    void AddVersionBox();
    void MovePortIntoConfigBox();

    void reject() override;

    // The dialog's components, named as in the forms. The olg8w extras stay null until added.
    QTabWidget* PageControl;
    QWidget* General;
    QGroupBox* IPBox;
    QLabel* IPAddressLabel;
    QLabel* submaskLabel;
    QLabel* gatewayLabel;
    TIPEdit* ipaddress;
    TIPEdit* submask;
    TIPEdit* gateway;
    BoundCheckBox* DHCP;
    QGroupBox* PortBox;
    QLabel* PortLabel;
    BoundSpinEdit* Port;
    QGroupBox* ConfigBox;
    BoundCheckBox* finder_authorized;
    BoundCheckBox* http_authorized;
    QPushButton* AvanceButton;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QLabel* DNS1Label = nullptr;
    TIPEdit* DNS1 = nullptr;
    QLabel* DNS2Label = nullptr;
    TIPEdit* DNS2 = nullptr;
    MaskedRadioButton* https_access = nullptr;
    MaskedRadioButton* http_access = nullptr;
    QGroupBox* VersionBox = nullptr;
    QLabel* VersionLabel = nullptr;
    BoundEdit* VersionEdit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PrepareRun();
    void RegisterChildren(QWidget* parent);
    void GroupRadioButtons();
    void ShowTabs(int visibleCount);
    void AlignGeneralLabels();
    void OrderTabs();
    // The device's index in the host's list now (found by identity, since the list may have changed), or -1.
    int CurrentIndex() const;
    bool FromDevice(const QByteArray& datagram) const;
    void SetExchanging(bool exchanging);
    // Copies the record into the list and writes it; says so when the device does not answer.
    void WriteResult();
    // Runs the dialog modally and, when it ends with OK, writes the result; the dialog may be gone by then.
    int ExecAndWrite();
    TIPEdit* NamedIpEdit(const QString& name) const;

    DialogHost& host_;
    std::unique_ptr<Ui::GeneralTab> ui_;
    TOLG localOlg_;
    int deviceIndex_ = -1;
    bool advanced_ = false;
    bool readAcknowledged_ = false;
    bool writeAcknowledged_ = false;
    bool exchanging_ = false;
    std::vector<int> loginIds_;
    std::map<std::tuple<int, std::uint32_t, bool>, QButtonGroup*> radioGroups_;
};

} // namespace olg
