#include "TRack.h"

#include "LimitedEdit.h"
#include "TMyCheckBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace olg {

namespace {

constexpr int LoginLimit = 32;
constexpr int FirstAccountLine = 2; // below the header and the socket numbers
constexpr int LinesPerAccount = 3;  // login, password, a gap

} // namespace

TRack::TRack(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
             const RackArguments& arguments)
    : ConfigPage(owner, pageControl, caption, pageIndex) {
    scrollBox_ = Create<QScrollArea>(this);
    scrollBox_->setFrameShape(QFrame::NoFrame);
    scrollBox_->setWidgetResizable(true);
    auto* content = new QWidget(scrollBox_);
    QGridLayout* grid = nullptr;
    frame_ = CreateGroupBox(tr(" Users Accounts "), content, &grid);

    if (arguments.Layout == MemberLayout) {
        deviceActivated_ = Create<BoundCheckBox>(frame_);
        deviceActivated_->setText(tr("Device Activated"));
        deviceActivated_->SetTag(ControlTag::Bit(arguments.MemberFlagsId(), 0));
        deviceActivated_->setChecked(true);
        twinMode_ = Create<BoundCheckBox>(frame_);
        twinMode_->setText(tr("Twin Mode"));
        twinMode_->SetTag(ControlTag::Bit(arguments.MemberFlagsId(), 1));
        auto* switches = new QHBoxLayout;
        switches->addWidget(deviceActivated_);
        switches->addWidget(twinMode_);
        switches->addStretch(1);
        grid->addLayout(switches, 0, 0, 2, 2, Qt::AlignVCenter);
    }

    header_ = CreateLabel(tr("Authorized Sockets"), frame_);
    grid->addWidget(header_, 0, 2, 1, SocketCount, Qt::AlignHCenter);
    for (int j = 1; j <= SocketCount; ++j) {
        QLabel* number = CreateLabel(QString::number(arguments.FirstSocket + j - 1), frame_);
        number->setAlignment(Qt::AlignCenter);
        grid->addWidget(number, 1, 1 + j, Qt::AlignHCenter);
        socketNumbers_.at(static_cast<std::size_t>(j - 1)) = number;
    }

    const int editWidth = frame_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24;
    for (int i = 1; i <= Accounts; ++i) {
        // The account's first parameter: its login; then the password and the socket flags.
        const int loginId = arguments.LoginId(i - 1);
        auto bound = [loginId](int delta) {
            return loginId == 0 ? ControlTag() : ControlTag(static_cast<std::uint32_t>(loginId + delta));
        };
        Account& account = accounts_.at(static_cast<std::size_t>(i - 1));
        account.LoginLabel = CreateLabel(tr("Login :"), frame_);
        account.Login = Create<LimitedEdit>(frame_);
        account.Login->SetTag(bound(0));
        account.Login->SetLimit(LoginLimit);
        account.PasswordLabel = CreateLabel(tr("Password :"), frame_);
        account.Password = Create<LimitedEdit>(frame_);
        account.Password->SetTag(bound(1));
        account.Password->SetLimit(LoginLimit);
        ShowAsPassword(account.Password);
        for (LimitedEdit* edit : {account.Login, account.Password})
            edit->setMinimumWidth(editWidth);

        const int line = FirstAccountLine + LinesPerAccount * (i - 1);
        grid->addWidget(account.LoginLabel, line, 0);
        grid->addWidget(account.Login, line, 1);
        grid->addWidget(account.PasswordLabel, line + 1, 0);
        grid->addWidget(account.Password, line + 1, 1);
        account.LoginLabel->setBuddy(account.Login);
        account.PasswordLabel->setBuddy(account.Password);
        if (i < Accounts)
            grid->setRowMinimumHeight(line + 2, grid->verticalSpacing() > 0 ? grid->verticalSpacing() : 6);

        for (int j = 1; j <= SocketCount; ++j) {
            auto* box = Create<TMyCheckBox>(frame_);
            box->Row = i;
            box->Socket = j;
            const ControlTag flags = bound(2);
            if (flags.IsBound())
                box->SetTag(ControlTag::Bit(flags.Id(), j - 1));
            box->setFocusPolicy(Qt::ClickFocus);
            box->setAccessibleName(tr("Socket %1").arg(arguments.FirstSocket + j - 1));
            grid->addWidget(box, line, 1 + j, Qt::AlignHCenter);
            account.Sockets.at(static_cast<std::size_t>(j - 1)) = box;
            connect(box, &QCheckBox::toggled, this, [this, box] { SocketChange(box); });
        }
    }
    grid->setColumnStretch(1, 1);

    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->addWidget(frame_);
    contentLayout->addStretch(1);
    scrollBox_->setWidget(content);
    // The accounts scroll up and down only: the page is never narrower than a row.
    scrollBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollBox_->setMinimumWidth(content->minimumSizeHint().width() +
                                scrollBox_->verticalScrollBar()->sizeHint().width());
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scrollBox_);

    if (deviceActivated_ != nullptr) {
        connect(deviceActivated_, &QCheckBox::toggled, this, &TRack::DeviceActivatedChange);
        connect(twinMode_, &QCheckBox::toggled, this, &TRack::TwinModeChange);
    }
}

void TRack::DeviceActivatedChange() {
    const bool activated = deviceActivated_->isChecked();
    twinMode_->setEnabled(activated);
    header_->setEnabled(activated);
    for (QLabel* number : socketNumbers_)
        number->setEnabled(activated);
    for (const Account& account : accounts_) {
        for (QWidget* widget : std::initializer_list<QWidget*>{account.LoginLabel, account.PasswordLabel,
                                                               account.Login, account.Password})
            widget->setEnabled(activated);
        for (TMyCheckBox* box : account.Sockets)
            box->setEnabled(activated);
    }
}

void TRack::TwinModeChange() {
    if (!twinMode_->isChecked()) {
        // A deactivated device keeps its boxes disabled, also when only its twin mode is loaded anew.
        for (int i = 1; i <= Accounts; ++i)
            for (int j = 5; j <= 8; ++j)
                Box(i, j)->setEnabled(deviceActivated_->isChecked());
        return;
    }
    // Rows 1 to 4 take each pair from sockets 1 to 4, rows 5 to 8 from sockets 5 to 8; sockets 5 to 8 are
    // the followers in every row.
    for (int i = 1; i <= 4; ++i) {
        for (int j = 5; j <= 8; ++j) {
            Box(i, j)->setChecked(Box(i, j - 4)->isChecked());
            Box(i, j)->setEnabled(false);
        }
    }
    for (int i = 5; i <= 8; ++i) {
        for (int j = 1; j <= 4; ++j) {
            Box(i, j)->setChecked(Box(i, j + 4)->isChecked());
            Box(i, j + 4)->setEnabled(false);
        }
    }
}

void TRack::SocketChange(TMyCheckBox* box) {
    if (twinMode_ == nullptr || !twinMode_->isChecked())
        return;
    TMyCheckBox* partner = Box(box->Row, ((box->Socket - 1) ^ 4) + 1);
    // A load in twin mode (each reply of a read loads again) pairs the boxes as entering twin mode does:
    // rows 1 to 4 after sockets 1 to 4, rows 5 to 8 after sockets 5 to 8, whichever box loads first.
    if (box->Loading() && (box->Row <= 4) != (box->Socket <= 4)) {
        box->setChecked(partner->isChecked());
        return;
    }
    // Setting the partner runs this once more for it, which finds the pair equal.
    partner->setChecked(box->isChecked());
}

} // namespace olg
