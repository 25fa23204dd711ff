#pragma once

#include "AddressConflicts.h"
#include "DeviceList.h"
#include "TableText.h"

namespace olg {

// The fields of the listed devices as olgctl scan prints them and the window exports them: name, type, IP
// address, MAC address, type code, firmware version, the interface a device answers on, and the MACs of the
// other devices that answer from its address.
class ScanListing {
public:
    // Finds the address conflicts of the list once; the list must outlive the listing.
    explicit ScanListing(const DeviceList& devices);

    static QList<TableColumn> Columns();
    QVariantList Row(int index) const;
    const AddressConflicts& Conflicts() const { return conflicts_; }
    // The MACs of the first few of these devices, and how many more of the total there are.
    QString MacList(const std::vector<int>& indexes, std::size_t total) const;
    // How many MACs a list names before it counts the rest.
    static constexpr std::size_t NamedMacs = 3;

private:
    QString ConflictText(int index) const;

    const DeviceList& devices_;
    AddressConflicts conflicts_;
    // Per group, the text every device after its first few shows: they all name those first few, so a group
    // of thousands costs one text.
    std::vector<QString> sharedTexts_;
};

} // namespace olg
