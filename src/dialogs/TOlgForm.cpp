#include "TOlgForm.h"

#include "BoundCheckBox.h"
#include "BoundControl.h"
#include "BoundEdit.h"
#include "BoundSpinEdit.h"
#include "BusyCursor.h"
#include "Datagram.h"
#include "DeviceList.h"
#include "DeviceText.h"
#include "DialogHost.h"
#include "ErrorBox.h"
#include "MaskedRadioButton.h"
#include "ParamIds.h"
#include "TIPEdit.h"
#include "TServeur.h"
#include "ui_GeneralTab.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace olg {

namespace {

const QString OptionsText = QStringLiteral("Options -->>");
const QString BackText = QStringLiteral("<<-- Options");

bool Blank(const ParamValue& value) {
    return value.IsEmpty() || (value.IsText() && value.AsText().empty());
}

template <class Store> void StoreInto(TOLG& record, int id, Store store) {
    ParamValue value = record.Value(id);
    store(value);
    record.SetValue(id, std::move(value));
}

} // namespace

TOlgForm::TOlgForm(DialogHost& host, QWidget* parent)
    : QDialog(parent), host_(host), ui_(std::make_unique<Ui::GeneralTab>()) {
    setWindowTitle(QStringLiteral("Properties"));
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    AddComponent(PageControl);
    General = new QWidget(PageControl);
    ui_->setupUi(General);
    PageControl->addTab(General, QStringLiteral("General"));
    RegisterComponents(General);

    IPBox = ui_->IPBox;
    IPAddressLabel = ui_->IPAddressLabel;
    submaskLabel = ui_->submaskLabel;
    gatewayLabel = ui_->gatewayLabel;
    ipaddress = ui_->ipaddress;
    submask = ui_->submask;
    gateway = ui_->gateway;
    DHCP = ui_->DHCP;
    PortBox = ui_->PortBox;
    PortLabel = ui_->PortLabel;
    Port = ui_->Port;
    ConfigBox = ui_->ConfigBox;
    finder_authorized = ui_->finder_authorized;
    http_authorized = ui_->http_authorized;

    AvanceButton = new QPushButton(OptionsText, this);
    AvanceButton->setObjectName(QStringLiteral("AvanceButton"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton* button : {AvanceButton, OKBtn, CancelBtn}) {
        // Enter means OK wherever the focus stands.
        button->setAutoDefault(false);
        AddComponent(button);
    }
    OKBtn->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AvanceButton);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    OrderTabs();

    connect(AvanceButton, &QPushButton::clicked, this, &TOlgForm::AvanceButtonClick);
    connect(OKBtn, &QPushButton::clicked, this, &TOlgForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOlgForm::reject);
    connect(DHCP, &QCheckBox::toggled, this, &TOlgForm::DHCPChange);
    PageControl->setCurrentIndex(0);
    AlignGeneralLabels();
}

TOlgForm::~TOlgForm() = default;

void TOlgForm::RegisterComponents(QWidget* root) {
    AddComponent(root);
    RegisterChildren(root);
}

void TOlgForm::RegisterChildren(QWidget* parent) {
    // Depth first in the order the form made them. A tab widget's stack moves its current page to the end of
    // its children, so the pages go by their index instead.
    QList<QWidget*> children;
    if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
        for (int index = 0; index < stack->count(); ++index)
            children.append(stack->widget(index));
    } else {
        children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    }
    for (QWidget* widget : children) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")))
            AddComponent(widget);
        RegisterChildren(widget);
    }
}

void TOlgForm::AddFormTabs(QTabWidget* formTabs) {
    while (formTabs->count() > 0) {
        QWidget* page = formTabs->widget(0);
        const QString caption = formTabs->tabText(0);
        formTabs->removeTab(0);
        PageControl->addTab(page, caption);
        RegisterComponents(page);
    }
}

void TOlgForm::AddDnsFields() {
    if (DNS1 != nullptr)
        return;
    auto addRow = [this](int row, const QString& name, int id, QLabel** label, TIPEdit** edit) {
        *label = new QLabel(name + QStringLiteral(" :"), IPBox);
        (*label)->setObjectName(name + QStringLiteral("Label"));
        *edit = new TIPEdit(IPBox, &host_.UserPrompts());
        (*edit)->setObjectName(name);
        (*edit)->SetTag(ControlTag(static_cast<std::uint32_t>(id)));
        (*label)->setBuddy(*edit);
        ui_->IPLayout->addWidget(*label, row, 0);
        ui_->IPLayout->addWidget(*edit, row, 1);
        AddComponent(*label);
        AddComponent(*edit);
    };
    addRow(4, QStringLiteral("DNS1"), param::Dns1, &DNS1Label, &DNS1);
    addRow(5, QStringLiteral("DNS2"), param::Dns2, &DNS2Label, &DNS2);
    DHCPChange();
    AlignGeneralLabels();
    OrderTabs();
}

void TOlgForm::AddAccessChoice() {
    if (https_access != nullptr)
        return;
    auto add = [this](const QString& name, const QString& text, ControlTag tag) {
        auto* button = new MaskedRadioButton(ConfigBox);
        button->setObjectName(name);
        button->setText(text);
        button->SetTag(tag);
        button->hide();
        ui_->ConfigLayout->addWidget(button);
        AddComponent(button);
        return button;
    };
    constexpr int https = 1 << param::HttpsBit;
    https_access = add(QStringLiteral("https_access"), QStringLiteral("HTTPS Access"),
                       ControlTag::Choice(param::ConfigFlags, https, https));
    http_access = add(QStringLiteral("http_access"), QStringLiteral("HTTP Access"),
                      ControlTag::Choice(param::ConfigFlags, 0, https));
    for (QRadioButton* button :
         {static_cast<QRadioButton*>(https_access), static_cast<QRadioButton*>(http_access)})
        connect(button, &QRadioButton::toggled, this, &TOlgForm::http_accessClick);
    GroupRadioButtons();
    OrderTabs();
}

void TOlgForm::AddVersionBox() {
    if (VersionBox != nullptr)
        return;
    VersionBox = new QGroupBox(QStringLiteral(" Version "), General);
    VersionBox->setObjectName(QStringLiteral("VersionBox"));
    auto* grid = new QGridLayout(VersionBox);
    VersionLabel = new QLabel(QStringLiteral("Version :"), VersionBox);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    VersionEdit = new BoundEdit(VersionBox);
    VersionEdit->setObjectName(QStringLiteral("VersionEdit"));
    VersionEdit->setReadOnly(true);
    VersionEdit->SetTag(ControlTag(param::Firmware));
    VersionLabel->setBuddy(VersionEdit);
    grid->addWidget(VersionLabel, 0, 0);
    grid->addWidget(VersionEdit, 0, 1);
    grid->setColumnStretch(1, 1);
    ui_->GeneralLayout->insertWidget(ui_->GeneralLayout->indexOf(PortBox) + 1, VersionBox);
    for (QObject* component : {static_cast<QObject*>(VersionBox), static_cast<QObject*>(VersionLabel),
                               static_cast<QObject*>(VersionEdit)})
        AddComponent(component);
    AlignGeneralLabels();
    OrderTabs();
}

void TOlgForm::MovePortIntoConfigBox() {
    auto* row = new QHBoxLayout;
    ui_->ConfigLayout->addLayout(row);
    row->addWidget(PortLabel);
    row->addWidget(Port);
    row->addStretch(1);
    PortLabel->setText(QStringLiteral("HTTP Port Number"));
    PortBox->hide();
    AlignGeneralLabels();
    OrderTabs();
}

void TOlgForm::OrderTabs() {
    // Top to bottom as the General tab shows them, wherever the olg8w extras and the port stand.
    const bool portInConfig = Port->parentWidget() == ConfigBox;
    std::vector<QWidget*> order{DHCP,
                                ipaddress,
                                submask,
                                gateway,
                                DNS1,
                                DNS2,
                                portInConfig ? nullptr : Port,
                                VersionEdit,
                                finder_authorized,
                                http_authorized,
                                https_access,
                                http_access,
                                portInConfig ? Port : nullptr,
                                AvanceButton,
                                OKBtn,
                                CancelBtn};
    std::erase(order, nullptr);
    for (std::size_t index = 1; index < order.size(); ++index)
        setTabOrder(order[index - 1], order[index]);
}

void TOlgForm::AlignGeneralLabels() {
    // Fields in the stacked group boxes line up behind labels of one width.
    std::vector<QLabel*> labels{IPAddressLabel, submaskLabel, gatewayLabel,
                                DNS1Label,      DNS2Label,    VersionLabel};
    if (PortLabel->parentWidget() == PortBox)
        labels.push_back(PortLabel);
    std::erase(labels, nullptr);
    int width = 0;
    for (QLabel* label : labels) {
        label->setMinimumWidth(0);
        width = std::max(width, label->sizeHint().width());
    }
    for (QLabel* label : labels)
        label->setMinimumWidth(width);
}

void TOlgForm::GroupRadioButtons() {
    for (const QPointer<QObject>& component : Components()) {
        auto* button = qobject_cast<QRadioButton*>(component.data());
        BoundControl* bound = Bound(component.data());
        if (button == nullptr || bound == nullptr || bound->Tag().M() == 0 || button->group() != nullptr)
            continue;
        const ControlTag tag = bound->Tag();
        QButtonGroup*& group = radioGroups_[{tag.Id(), tag.M(), tag.H()}];
        if (group == nullptr)
            group = new QButtonGroup(this);
        group->addButton(button);
    }
}

void TOlgForm::PrepareRun() {
    for (TIPEdit* edit : findChildren<TIPEdit*>())
        if (!edit->HasPrompts())
            edit->SetPrompts(&host_.UserPrompts());
    GroupRadioButtons();
    AlignGeneralLabels();
}

void TOlgForm::ShowTabs(int visibleCount) {
    for (int index = 0; index < PageControl->count(); ++index)
        PageControl->setTabVisible(index, index < visibleCount);
}

int TOlgForm::CurrentIndex() const {
    return host_.Devices().Find(localOlg_.Identity);
}

bool TOlgForm::FromDevice(const QByteArray& datagram) const {
    const std::size_t end = SourceOffset + localOlg_.Identity.size();
    return static_cast<std::size_t>(datagram.size()) >= end &&
           std::memcmp(datagram.constData() + SourceOffset, localOlg_.Identity.data(),
                       localOlg_.Identity.size()) == 0;
}

void TOlgForm::LoadControls(int pageFilter) {
    GroupRadioButtons();
    Filter accept;
    if (pageFilter != 0) {
        const QWidget* tab = PageControl->widget(std::abs(pageFilter) - 1);
        const bool onTab = pageFilter > 0;
        accept = [tab, onTab](const QObject* component) {
            const auto* widget = qobject_cast<const QWidget*>(component);
            const bool lies =
                tab != nullptr && widget != nullptr && widget != tab && tab->isAncestorOf(widget);
            return lies == onTab;
        };
    }
    LoadComponents(localOlg_, accept);
    update();
}

void TOlgForm::StoreControls() {
    StoreComponents(localOlg_);
}

void TOlgForm::AddLogins(const TConfigFile& params) {
    for (const ParamDescriptor& param : params)
        if (param.Access == AccessLogin)
            loginIds_.push_back(param.Id);
}

bool TOlgForm::CheckLogins() {
    for (std::size_t i = 0; i < loginIds_.size(); ++i) {
        for (std::size_t j = 0; j < loginIds_.size(); ++j) {
            const ParamValue& first = localOlg_.Value(loginIds_[i]);
            const ParamValue& second = localOlg_.Value(loginIds_[j]);
            if (i == j || (first != second && !(Blank(first) && Blank(second))))
                continue;
            ShowError(host_.UserPrompts(), ErrorLoginsMustDiffer, DeviceText::Decode(first.AsText()));
            return false;
        }
    }
    return true;
}

void TOlgForm::DHCPChange() {
    // A hidden DHCP box (firmware without DHCP) still carries its bit but never disables the address.
    const bool enabled = DHCP->isHidden() || !DHCP->isChecked();
    for (QWidget* child : IPBox->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != DHCP)
            child->setEnabled(enabled);
}

void TOlgForm::http_accessClick() {
    // Without the choice (older firmware) the port always counts, whatever the HTTPS bit holds.
    Port->setEnabled(http_access->isChecked() || http_access->isHidden());
}

TIPEdit* TOlgForm::NamedIpEdit(const QString& name) const {
    QObject* found = nullptr;
    for (const QPointer<QObject>& component : Components())
        if (component != nullptr && component->objectName() == name)
            found = component.data();
    return qobject_cast<TIPEdit*>(found);
}

void TOlgForm::OKBtnClick() {
    if (exchanging_)
        return;
    auto storeIp = [this](int id, TIPEdit* edit) {
        StoreInto(localOlg_, id,
                  [edit](ParamValue& value) { binding::StoreIpText(value, edit->Text().toStdString()); });
    };
    auto storeFlag = [this](int bit, bool checked) {
        StoreInto(localOlg_, param::ConfigFlags, [bit, checked](ParamValue& value) {
            binding::StoreCheckBox(value, ControlTag::Bit(param::ConfigFlags, bit), checked);
        });
    };
    storeIp(param::IpAddress, ipaddress);
    storeIp(param::SubnetMask, submask);
    storeIp(param::Gateway, gateway);
    StoreInto(localOlg_, param::WebPort,
              [this](ParamValue& value) { binding::StoreSpinValue(value, Port->value()); });
    storeFlag(param::FinderAuthorizedBit, finder_authorized->isChecked());
    storeFlag(param::HttpAuthorizedBit, http_authorized->isChecked());
    storeFlag(param::DhcpBit, DHCP->isChecked());
    if (https_access != nullptr)
        storeFlag(param::HttpsBit, https_access->isChecked());
    if (TIPEdit* dns = NamedIpEdit(QStringLiteral("DNS1")))
        storeIp(param::Dns1, dns);
    if (TIPEdit* dns = NamedIpEdit(QStringLiteral("DNS2")))
        storeIp(param::Dns2, dns);

    if (!advanced_) {
        accept();
        return;
    }
    StoreControls();
    if (CheckLogins())
        accept();
}

void TOlgForm::SetExchanging(bool exchanging) {
    // The exchange runs the event loop: nothing may close the dialog or start another exchange meanwhile.
    exchanging_ = exchanging;
    for (QPushButton* button : {AvanceButton, OKBtn, CancelBtn})
        button->setEnabled(!exchanging);
}

void TOlgForm::reject() {
    if (!exchanging_)
        QDialog::reject();
}

void TOlgForm::closeEvent(QCloseEvent* event) {
    if (exchanging_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TOlgForm::AvanceButtonClick() {
    if (exchanging_)
        return;
    BusyCursor busy;
    if (advanced_) {
        // Back to the general view: nothing is read or written, the other tabs keep what they show.
        advanced_ = false;
        AvanceButton->setText(OptionsText);
        PageControl->setCurrentIndex(0);
        ShowTabs(1);
        return;
    }
    readAcknowledged_ = false;
    SetExchanging(true);
    const QPointer<TOlgForm> self(this);
    const TOLG request = localOlg_;
    host_.Serveur().ReadAll(request, this,
                            [this](const QString& sender, quint16 port, const QByteArray& datagram,
                                   bool success) { OnOptionsRead(sender, port, datagram, success); });
    if (self.isNull())
        return;
    SetExchanging(false);
    busy.Restore();
    if (!readAcknowledged_ && !host_.Serveur().SendFailed())
        ShowError(host_.UserPrompts(), ErrorDeviceNotResponding);
}

void TOlgForm::OnOptionsRead(const QString& sender, quint16 port, const QByteArray& datagram, bool success) {
    host_.DeviceReply(sender, port, datagram, success);
    // Only this device's answers, and only while the read runs: a late reply must not reload the tabs over
    // what the user has typed since.
    if (!success || !exchanging_ || !FromDevice(datagram))
        return;
    const int index = CurrentIndex();
    if (index < 0)
        return;
    readAcknowledged_ = true;
    localOlg_ = host_.Devices().At(index);
    ShowTabs(PageControl->count());
    // The General tab keeps what the user may have changed before asking for the options.
    LoadControls(-1);
    advanced_ = true;
    AvanceButton->setText(BackText);
}

void TOlgForm::OnWriteDone(bool success) {
    if (success)
        writeAcknowledged_ = true;
}

void TOlgForm::WriteResult() {
    BusyCursor busy;
    const int index = CurrentIndex();
    if (index >= 0)
        host_.Devices().Replace(index, localOlg_);
    writeAcknowledged_ = false;
    const QPointer<TOlgForm> self(this);
    const TServeur::ReplyHandler handler = [this](const QString&, quint16, const QByteArray& datagram,
                                                  bool accepted) {
        OnWriteDone(accepted && FromDevice(datagram));
    };
    TServeur& serveur = host_.Serveur();
    const int tooLong = advanced_ ? serveur.WriteAll(localOlg_, this, handler)
                                  : serveur.WriteGeneral(localOlg_, this, handler);
    if (self.isNull())
        return;
    busy.Restore();
    if (tooLong != 0)
        host_.UserPrompts().ShowError(
            QStringLiteral("Parameter %1: the text is longer than 255 bytes; nothing was written")
                .arg(tooLong));
    else if (!writeAcknowledged_ && !serveur.SendFailed())
        ShowError(host_.UserPrompts(), ErrorDeviceNotResponding);
}

int TOlgForm::ShowGeneral() {
    if (deviceIndex_ < 0 || deviceIndex_ >= host_.Devices().Size())
        return QDialog::Rejected;
    localOlg_ = host_.Devices().At(deviceIndex_);
    advanced_ = false;
    PrepareRun();
    LoadControls(1);
    AvanceButton->setText(OptionsText);
    PageControl->setCurrentIndex(0);
    ShowTabs(1);
    return ExecAndWrite();
}

int TOlgForm::ExecAndWrite() {
    const QPointer<TOlgForm> self(this);
    const int result = exec();
    if (self.isNull())
        return QDialog::Rejected;
    if (result == QDialog::Accepted)
        WriteResult();
    return result;
}

int TOlgForm::ShowLoaded() {
    AvanceButton->hide();
    if (deviceIndex_ < 0 || deviceIndex_ >= host_.Devices().Size())
        return QDialog::Rejected;
    localOlg_ = host_.Devices().At(deviceIndex_);
    advanced_ = true;
    PrepareRun();
    LoadControls(0);
    PageControl->setCurrentIndex(0);
    // The last tab (the read-only counters) has nothing to write; a dialog with General only keeps it.
    ShowTabs(std::max(1, PageControl->count() - 1));
    return ExecAndWrite();
}

} // namespace olg
