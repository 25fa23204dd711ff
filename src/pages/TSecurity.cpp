#include "TSecurity.h"

#include "BoundCheckBox.h"
#include "MaskedRadioButton.h"
#include "PermitRadioButton.h"
#include "TIPEdit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace olg {

TSecurity::TSecurity(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
                     const SecurityArguments& arguments)
    : ConfigPage(owner, pageControl, caption, pageIndex) {
    QGridLayout* grid = nullptr;
    frame_ = CreateGroupBox(tr(" IP Security Masks "), this, &grid);
    permitHeader_ = CreateLabel(tr("Permit"), frame_);
    denyHeader_ = CreateLabel(tr("Deny"), frame_);
    activatedHeader_ = CreateLabel(tr("Activated"), frame_);
    grid->addWidget(permitHeader_, 0, 2, Qt::AlignHCenter);
    grid->addWidget(denyHeader_, 0, 3, Qt::AlignHCenter);
    grid->addWidget(activatedHeader_, 0, 4, Qt::AlignHCenter);

    rows_.reserve(static_cast<std::size_t>(std::max(arguments.MaskCount, 0)));
    for (int index = 0; index < arguments.MaskCount; ++index) {
        Row row{};
        row.Label = CreateLabel(tr("#%1").arg(arguments.FirstMask + index), frame_);
        row.Mask = Create<TIPEdit>(frame_);
        row.Mask->SetTag(ControlTag(static_cast<std::uint32_t>(arguments.AddressId(index))));
        row.Choice = new QButtonGroup(frame_);
        row.Permit = Create<PermitRadioButton>(frame_);
        row.Permit->SetTag(ControlTag::Bit(arguments.FlagsId(index), 1));
        row.Deny = Create<MaskedRadioButton>(frame_);
        row.Deny->setChecked(true);
        row.Permit->SetPartner(row.Deny);
        row.Choice->addButton(row.Permit);
        row.Choice->addButton(row.Deny);
        row.Activated = Create<BoundCheckBox>(frame_);
        row.Activated->SetTag(ControlTag::Bit(arguments.FlagsId(index), 0));
        row.Permit->setAccessibleName(tr("Permit"));
        row.Deny->setAccessibleName(tr("Deny"));
        row.Activated->setAccessibleName(tr("Activated"));

        const int line = index + 1;
        grid->addWidget(row.Label, line, 0);
        grid->addWidget(row.Mask, line, 1);
        grid->addWidget(row.Permit, line, 2, Qt::AlignHCenter);
        grid->addWidget(row.Deny, line, 3, Qt::AlignHCenter);
        grid->addWidget(row.Activated, line, 4, Qt::AlignHCenter);
        rows_.push_back(row);
    }
    grid->setColumnStretch(5, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(frame_);
    page->addStretch(1);
}

} // namespace olg
