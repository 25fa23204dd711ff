#include "TMisc.h"

#include "CounterEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace olg {

TMisc::TMisc(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
             const MiscArguments& arguments)
    : ConfigPage(owner, pageControl, caption, pageIndex) {
    QGridLayout* versionGrid = nullptr;
    versionBox_ = CreateGroupBox(tr(" Version "), this, &versionGrid);
    versionLabel_ = CreateLabel(tr("Version :"), versionBox_);
    version_ = CreateCounterEdit(versionBox_, param::Firmware);
    versionGrid->addWidget(versionLabel_, 0, 0);
    versionGrid->addWidget(version_, 0, 1, Qt::AlignLeft);

    QGridLayout* counters = nullptr;
    countersBox_ = CreateGroupBox(tr(" Miscellaneous "), this, &counters);
    powerUpLabel_ = CreateLabel(tr("Number of Power Up :"), countersBox_);
    powerUp_ = CreateCounterEdit(countersBox_, arguments.PowerUpId());
    counters->addWidget(powerUpLabel_, 0, 0);
    counters->addWidget(powerUp_, 0, 1, Qt::AlignLeft);
    // The socket counters stand apart from the power-up counter.
    counters->setRowMinimumHeight(1, counters->verticalSpacing() > 0 ? 2 * counters->verticalSpacing() : 12);

    const QString switching = tr("Number of OFF/ON Switching ");
    const int sockets = arguments.Sockets;
    switchings_.reserve(static_cast<std::size_t>(std::max(sockets, 0)));
    for (int k = 1; k <= sockets; ++k) {
        // A single socket goes without a number.
        const QString text =
            sockets == 1 ? switching + QLatin1Char(':')
                         : switching + QString::number(arguments.FirstSocket + k - 1) + QLatin1Char(':');
        Counter counter{CreateLabel(text, countersBox_), nullptr};
        counter.Edit = CreateCounterEdit(countersBox_, arguments.SwitchingId(k - 1));
        counters->addWidget(counter.Label, k + 1, 0);
        counters->addWidget(counter.Edit, k + 1, 1, Qt::AlignLeft);
        switchings_.push_back(counter);
    }
    versionGrid->setColumnStretch(2, 1);
    counters->setColumnStretch(2, 1);
    AlignFirstColumns({versionGrid, counters});

    auto* page = new QVBoxLayout(this);
    page->addWidget(versionBox_);
    page->addWidget(countersBox_);
    page->addStretch(1);
}

CounterEdit* TMisc::CreateCounterEdit(QWidget* parent, int id) {
    auto* edit = Create<CounterEdit>(parent);
    edit->SetTag(ControlTag(static_cast<std::uint32_t>(id)));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("4294967295")) + 16);
    return edit;
}

} // namespace olg
