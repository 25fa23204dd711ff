#pragma once

#include "DeviceList.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <cstdint>

namespace olg {

// Consecutive addresses for devices in the order given, with one mask and gateway, and what stands in their
// way: an address, mask or gateway that is not one, addresses that run past x.x.x.254 or out of the subnet,
// and addresses that a listed device outside the plan answers from. Devices of the plan may take each other's
// addresses, since each of them moves.
class AddressPlan {
    Q_DECLARE_TR_FUNCTIONS(AddressPlan)

public:
    struct Row {
        int Device = -1; // list index
        QString OldAddress;
        QString NewAddress;        // empty while the first address is not valid
        QString Problem;           // why this device cannot take its address; empty when it can
        bool TurnsDhcpOff = false; // see DhcpOn
    };

    // True when the device shows a DHCP switch and it is on: a fixed address takes effect only with DHCP off,
    // so the write turns it off.
    static bool DhcpOn(const TOLG& record);

    // Each address as typed: dotted, or empty while incomplete.
    AddressPlan(const DeviceList& devices, const QList<int>& planned, const QString& first,
                const QString& mask, const QString& gateway);

    const QList<Row>& Rows() const { return rows_; }
    // The first problem of the plan, for the user; empty when every device can be written.
    const QString& Problem() const { return problem_; }
    bool Valid() const { return problem_.isEmpty(); }
    std::uint32_t Mask() const { return mask_; }
    std::uint32_t Gateway() const { return gateway_; }
    std::uint32_t AddressOf(int row) const { return first_ + static_cast<std::uint32_t>(row); }

private:
    // The first problem of the fields, or empty.
    QString CheckFields(const QString& first, const QString& mask, const QString& gateway);
    void CheckRows(const DeviceList& devices, const QList<int>& planned);

    QList<Row> rows_;
    QString problem_;
    std::uint32_t first_ = 0;
    std::uint32_t mask_ = 0;
    std::uint32_t gateway_ = 0;
};

} // namespace olg
