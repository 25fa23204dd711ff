#include "TSuperv.h"

#include "BoundCheckBox.h"
#include "BoundSpinEdit.h"
#include "TIPEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace olg {

TSuperv::TSuperv(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
                 const SupervArguments& arguments)
    : ConfigPage(owner, pageControl, caption, pageIndex) {
    QGridLayout* equipment = nullptr;
    equipmentBox_ = CreateGroupBox(tr(" Equipment to supervise "), this, &equipment);
    addressLabel_ = CreateLabel(tr("IP Address :"), equipmentBox_);
    address_ = Create<TIPEdit>(equipmentBox_);
    address_->SetTag(ControlTag(static_cast<std::uint32_t>(arguments.AddressId())));
    equipment->addWidget(addressLabel_, 0, 0);
    equipment->addWidget(address_, 0, 1);
    equipment->setColumnStretch(2, 1);

    QGridLayout* method = nullptr;
    methodBox_ = CreateGroupBox(tr(" Supervision Method "), this, &method);
    pingLabel_ = CreateLabel(tr("Ping activated :"), methodBox_);
    ping_ = Create<BoundCheckBox>(methodBox_);
    ping_->SetTag(ControlTag::Bit(arguments.MethodId(), 0));
    ping_->setChecked(true);
    scanLabel_ = CreateLabel(tr("Scan activated :"), methodBox_);
    scan_ = Create<BoundCheckBox>(methodBox_);
    scan_->SetTag(ControlTag::Bit(arguments.MethodId(), 1));
    scan_->setChecked(true);
    portLabel_ = CreateLabel(tr("Port :"), methodBox_);
    port_ = CreateSpinEdit(methodBox_, arguments.PortId(), {});
    intervalLabel_ = CreateLabel(tr("Interval between Requests :"), methodBox_);
    interval_ = CreateSpinEdit(methodBox_, arguments.IntervalId(), tr(" sec"));
    method->addWidget(pingLabel_, 0, 0);
    method->addWidget(ping_, 0, 1);
    method->addWidget(scanLabel_, 1, 0);
    method->addWidget(scan_, 1, 1);
    method->addWidget(portLabel_, 1, 2, Qt::AlignRight);
    method->addWidget(port_, 1, 3);
    method->addWidget(intervalLabel_, 2, 0, 1, 3);
    method->addWidget(interval_, 2, 3);
    method->setColumnStretch(2, 1);
    portLabel_->setBuddy(port_);

    QGridLayout* reboot = nullptr;
    rebootBox_ = CreateGroupBox(tr(" Reboot "), this, &reboot);
    countLabel_ = CreateLabel(tr("Number of unsuccessful Requests before Reboot :"), rebootBox_);
    countLabel_->setWordWrap(true);
    count_ = CreateSpinEdit(rebootBox_, arguments.CountId(), {});
    // Shown second but stored last: the slot keeps the delay before reboot in its seventh parameter.
    rebootDelayLabel_ = CreateLabel(tr("Delay before Reboot :"), rebootBox_);
    rebootDelay_ = CreateSpinEdit(rebootBox_, arguments.RebootDelayId(), tr(" sec"));
    firstRequestLabel_ = CreateLabel(tr("Delay before First Request after Reboot :"), rebootBox_);
    firstRequestDelay_ = CreateSpinEdit(rebootBox_, arguments.FirstRequestDelayId(), tr(" sec"));
    reboot->addWidget(countLabel_, 0, 0);
    reboot->addWidget(count_, 0, 1);
    reboot->addWidget(rebootDelayLabel_, 1, 0);
    reboot->addWidget(rebootDelay_, 1, 1);
    reboot->addWidget(firstRequestLabel_, 2, 0);
    reboot->addWidget(firstRequestDelay_, 2, 1);
    reboot->setColumnStretch(0, 1);
    // The address lines up with the method check boxes.
    AlignFirstColumns({equipment, method});

    // All spin edits share one width, so that they line up in one column on the right.
    const std::initializer_list<BoundSpinEdit*> spins = {port_, interval_, count_, rebootDelay_,
                                                         firstRequestDelay_};
    int width = 0;
    for (BoundSpinEdit* spin : spins)
        width = std::max(width, spin->sizeHint().width());
    for (BoundSpinEdit* spin : spins)
        spin->setMinimumWidth(width);

    auto* page = new QVBoxLayout(this);
    page->addWidget(equipmentBox_);
    page->addWidget(methodBox_);
    page->addWidget(rebootBox_);
    page->addStretch(1);

    connect(ping_, &QCheckBox::toggled, this, &TSuperv::UpdateSupervision);
    connect(scan_, &QCheckBox::toggled, this, &TSuperv::UpdateSupervision);
}

BoundSpinEdit* TSuperv::CreateSpinEdit(QWidget* parent, int tag, const QString& suffix) {
    auto* spin = Create<BoundSpinEdit>(parent);
    spin->SetTag(ControlTag(static_cast<std::uint32_t>(tag)));
    spin->setMinimum(1);
    spin->setMaximum(65535);
    spin->setSuffix(suffix);
    spin->setAlignment(Qt::AlignRight);
    return spin;
}

void TSuperv::UpdateSupervision() {
    const bool watched = ping_->isChecked() || scan_->isChecked();
    rebootBox_->setEnabled(watched);
    interval_->setEnabled(watched);
    intervalLabel_->setEnabled(watched);
    portLabel_->setEnabled(scan_->isChecked());
    port_->setEnabled(scan_->isChecked());
}

} // namespace olg
