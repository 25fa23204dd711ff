#include "TLab.h"

#include "LimitedEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace olg {

namespace {

constexpr int NameLimit = 32;

} // namespace

TLab::TLab(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
           const LabArguments& arguments)
    : ConfigPage(owner, pageControl, caption, pageIndex) {
    QGridLayout* grid = nullptr;
    frame_ = CreateGroupBox(tr(" Labels "), this, &grid);
    deviceNameLabel_ = CreateLabel(tr("Device Name :"), frame_);
    deviceName_ = CreateNameEdit(frame_, arguments.DeviceNameId());
    grid->addWidget(deviceNameLabel_, 0, 0);
    grid->addWidget(deviceName_, 0, 1);
    deviceNameLabel_->setBuddy(deviceName_);

    sockets_.reserve(static_cast<std::size_t>(std::max(arguments.Sockets, 0)));
    for (int k = 0; k < arguments.Sockets; ++k) {
        Socket socket{
            CreateLabel(tr("Socket ") + QString::number(arguments.FirstSocket + k) + QLatin1Char(':'),
                        frame_),
            nullptr};
        socket.Name = CreateNameEdit(frame_, arguments.SocketNameId(k));
        grid->addWidget(socket.Label, k + 1, 0);
        grid->addWidget(socket.Name, k + 1, 1);
        socket.Label->setBuddy(socket.Name);
        sockets_.push_back(socket);
    }
    grid->setColumnStretch(2, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(frame_);
    page->addStretch(1);
}

LimitedEdit* TLab::CreateNameEdit(QWidget* parent, int id) {
    auto* edit = Create<LimitedEdit>(parent);
    edit->SetTag(ControlTag(static_cast<std::uint32_t>(id)));
    edit->SetLimit(NameLimit);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    return edit;
}

} // namespace olg
