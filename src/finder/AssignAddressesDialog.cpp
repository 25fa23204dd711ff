#include "AssignAddressesDialog.h"

#include "BusyCursor.h"
#include "CollectingPrompts.h"
#include "ControlTag.h"
#include "Datagram.h"
#include "DeviceCaption.h"
#include "DeviceResultTable.h"
#include "ErrorBox.h"
#include "IpText.h"
#include "MacAddress.h"
#include "ParallelJobs.h"
#include "ReadOnlyLook.h"
#include "TIPEdit.h"
#include "TServeur.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace olg {

namespace {

enum Column { NameColumn, MacColumn, AddressColumn };

// The address as typed, without touching the boxes as the control's own reading does; empty while a box is.
QString Typed(const TIPEdit* edit) {
    QStringList octets;
    for (int i = 0; i < 4; ++i) {
        const QString box = edit->Box(i)->text();
        if (box.isEmpty())
            return {};
        octets.append(QString::number(box.toInt()));
    }
    return octets.join(QLatin1Char('.'));
}

// A parameter's address as dotted text; nothing for an address the device does not have.
QString ParamAddress(const TOLG& record, int id) {
    const auto address = static_cast<std::uint32_t>(record.Value(id).AsInteger());
    return address == 0 && id != param::Gateway ? QString() : QString::fromStdString(IpToText(address));
}

void Show(TIPEdit* edit, const QString& address) {
    try {
        edit->SetText(address);
    } catch (const std::invalid_argument&) {
        edit->SetText(QString());
    }
}

// Only the device's own answer to the write counts, and only it ends the wait for one.
bool IsWriteAnswer(const DeviceIdentity& identity, const QByteArray& datagram) {
    return datagram.size() >= static_cast<qsizetype>(HeaderSize) &&
           static_cast<std::uint8_t>(datagram.at(CommandOffset)) == CommandWrite &&
           std::equal(identity.begin(), identity.end(),
                      reinterpret_cast<const std::uint8_t*>(datagram.constData()) + SourceOffset);
}

} // namespace

AssignAddressesDialog::AssignAddressesDialog(const DeviceList& devices, TServeur& serveur, Prompts& prompts,
                                             const QList<int>& planned, QWidget* owner)
    : QDialog(owner), devices_(devices), serveur_(serveur), prompts_(prompts), planned_(planned) {
    setObjectName(QStringLiteral("AssignAddressesDialog"));
    setWindowTitle(tr("Assign Addresses"));
    CreateComponents();
    if (!planned_.isEmpty()) {
        const TOLG& head = devices_.At(planned_.front());
        Show(first_, QString::fromStdString(head.SenderAddress));
        Show(mask_, ParamAddress(head, param::SubnetMask));
        Show(gateway_, ParamAddress(head, param::Gateway));
    }
    for (TIPEdit* edit : {first_, mask_, gateway_})
        connect(edit, &TIPEdit::Changed, this, &AssignAddressesDialog::UpdatePreview);
    UpdatePreview();
    first_->setFocus();
}

void AssignAddressesDialog::CreateComponents() {
    auto* intro =
        new QLabel(planned_.size() == 1
                       ? tr("The selected device gets the first address.")
                       : tr("The %1 selected devices get consecutive addresses, in the order of the list.")
                             .arg(planned_.size()),
                   this);
    intro->setWordWrap(true);
    first_ = new TIPEdit(this, &prompts_);
    first_->setObjectName(QStringLiteral("FirstAddress"));
    mask_ = new TIPEdit(this, &prompts_);
    mask_->setObjectName(QStringLiteral("Mask"));
    gateway_ = new TIPEdit(this, &prompts_);
    gateway_->setObjectName(QStringLiteral("Gateway"));
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addRow(tr("&First address:"), first_);
    fields->addRow(tr("Subnet &mask:"), mask_);
    fields->addRow(tr("&Gateway:"), gateway_);

    table_ = new DeviceResultTable({tr("Device"), tr("MAC Address"), tr("Address"), tr("Result")}, this);
    table_->setObjectName(QStringLiteral("Preview"));
    for (int device : planned_) {
        const TOLG& record = devices_.At(device);
        table_->AddRow({DeviceCaption(record), QString::fromStdString(FormatMac(".", record.Mac)),
                        QString::fromStdString(record.SenderAddress)});
    }
    table_->FitColumns();
    // Room for the longest change, so that the column does not jump while the user types.
    const int arrowWidth = table_->fontMetrics().horizontalAdvance(
        tr("%1, DHCP off").arg(QStringLiteral("255.255.255.255 \u2192 255.255.255.255")));
    table_->horizontalHeader()->resizeSection(AddressColumn, arrowWidth + 12);
    table_->KeepWidth({ErrorText(ErrorDeviceNotResponding)});

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("Problem"));
    problem_->setTextFormat(Qt::PlainText);
    problem_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setFormat(tr("%v of %m"));
    QSizePolicy policy = progress_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(policy);
    progress_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    connect(ok_, &QPushButton::clicked, this, &AssignAddressesDialog::OkClick);
    connect(cancel_, &QPushButton::clicked, this, &AssignAddressesDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(fields);
    layout->addWidget(table_, 1);
    layout->addWidget(problem_);
    layout->addWidget(progress_);
    layout->addWidget(buttons);
    setTabOrder(first_, mask_);
    setTabOrder(mask_, gateway_);
    setTabOrder(gateway_, table_);
    setTabOrder(table_, ok_);
    setTabOrder(ok_, cancel_);
}

AddressPlan AssignAddressesDialog::CurrentPlan() const {
    return AddressPlan(devices_, planned_, Typed(first_), Typed(mask_), Typed(gateway_));
}

void AssignAddressesDialog::UpdatePreview() {
    if (writing_ || done_)
        return;
    const AddressPlan plan = CurrentPlan();
    for (int row = 0; row < plan.Rows().size(); ++row) {
        const AddressPlan::Row& planned = plan.Rows()[row];
        QString change = planned.NewAddress.isEmpty()
                             ? planned.OldAddress
                             : QStringLiteral("%1 \u2192 %2").arg(planned.OldAddress, planned.NewAddress);
        if (planned.TurnsDhcpOff)
            change = tr("%1, DHCP off").arg(change);
        table_->SetText(row, AddressColumn, change);
        table_->SetResult(row, planned.Problem, true);
    }
    problem_->setText(plan.Problem());
    problem_->setStyleSheet(plan.Valid() ? QString() : QStringLiteral("color: red"));
    ok_->setEnabled(plan.Valid());
}

void AssignAddressesDialog::OkClick() {
    if (done_)
        accept();
    else if (!writing_)
        WriteAll();
}

void AssignAddressesDialog::WriteAll() {
    const AddressPlan plan = CurrentPlan();
    if (!plan.Valid())
        return;
    writing_ = true;
    for (TIPEdit* edit : {first_, mask_, gateway_}) {
        edit->SetReadOnly(true);
        ShowReadOnly(edit, true);
    }
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    progress_->setRange(0, static_cast<int>(planned_.size()));
    progress_->setValue(0);
    progress_->show();
    problem_->clear();
    const QPointer<AssignAddressesDialog> self(this);
    BusyCursor busy;
    // Copies up front, on this thread: the writes run on worker threads, each on a lane of the exchange.
    std::vector<TOLG> records;
    for (int row = 0; row < planned_.size(); ++row) {
        records.push_back(devices_.At(planned_[row]));
        table_->SetResult(row, tr("Writing..."));
    }
    std::vector<Outcome> outcomes(records.size());
    int finished = 0;
    ParallelJobs(ParallelJobs::DefaultJobs)
        .Run(
            static_cast<int>(records.size()),
            [&](int row) {
                outcomes[static_cast<std::size_t>(row)] =
                    WriteOne(plan, row, std::move(records[static_cast<std::size_t>(row)]));
            },
            [&](int row) {
                if (!self)
                    return;
                const Outcome& outcome = outcomes[static_cast<std::size_t>(row)];
                table_->SetResult(row, outcome.Text, !outcome.Written);
                wrote_ = wrote_ || outcome.Sent;
                writtenCount_ += outcome.Written ? 1 : 0;
                progress_->setValue(++finished);
            });
    if (!self)
        return;
    busy.Restore();
    writing_ = false;
    done_ = true;
    problem_->setStyleSheet(QString());
    problem_->setText(tr("%1 of %2 devices written. The list is scanned again when this dialog closes.")
                          .arg(writtenCount_)
                          .arg(planned_.size()));
    ok_->setText(tr("Close"));
    ok_->setEnabled(true);
    ok_->setFocus();
    cancel_->hide();
}

AssignAddressesDialog::Outcome AssignAddressesDialog::WriteOne(const AddressPlan& plan, int row,
                                                               TOLG record) const {
    const auto asValue = [](std::uint32_t address) {
        return ParamValue::Integer(static_cast<std::int32_t>(address));
    };
    record.SetValue(param::SubnetMask, asValue(plan.Mask()));
    record.SetValue(param::IpAddress, asValue(plan.AddressOf(row)));
    record.SetValue(param::Gateway, asValue(plan.Gateway()));
    if (AddressPlan::DhcpOn(record)) {
        ParamValue flags = record.Value(param::ConfigFlags);
        binding::StoreCheckBox(flags, ControlTag::Bit(param::ConfigFlags, param::DhcpBit), false);
        record.SetValue(param::ConfigFlags, flags);
    }
    const DeviceIdentity identity = record.Identity;
    CollectingPrompts prompts;
    TServeur lane(serveur_, prompts);
    lane.SetWaitEnder([identity](const QByteArray& datagram) { return IsWriteAnswer(identity, datagram); });
    bool answered = false;
    // Replies after the write must not reach a variable that is gone: the handler dies with its target.
    QObject target;
    const int tooLong = lane.WriteGeneral(
        record, &target,
        [&answered, identity](const QString&, quint16, const QByteArray& datagram, bool accepted) {
            answered = answered || (accepted && IsWriteAnswer(identity, datagram));
        });
    if (tooLong != 0)
        return {tr("Parameter %1 is longer than 255 bytes: nothing written").arg(tooLong), false, false};
    if (answered)
        return {tr("Written"), true, true};
    if (lane.SendFailed())
        return {prompts.Messages().isEmpty() ? tr("Not sent") : prompts.Messages().join(QStringLiteral("; ")),
                false, false};
    return {ErrorText(ErrorDeviceNotResponding), false, true};
}

void AssignAddressesDialog::reject() {
    if (!writing_)
        QDialog::reject();
}

} // namespace olg
