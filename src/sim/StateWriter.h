#pragma once

#include "DeviceFiles.h"
#include "VirtualDevice.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace olg::sim {

// Keeps a JSON file with every device's parameters, rewritten whole (temporary file, then rename) after each
// change. Each device's part is kept encoded, so a change costs the encoding of one device, not of the fleet.
class StateWriter {
public:
    explicit StateWriter(QString path) : path_(std::move(path)) {}

    // What the devices received through their upgrade services, by device index; shown with each device.
    void SetFiles(const std::vector<DeviceFiles>* files) { files_ = files; }

    // Encodes every device and writes the file.
    bool WriteAll(const std::vector<VirtualDevice>& devices, std::optional<quint32> replyBase);
    // Re-encodes one device and writes the file.
    bool Update(const std::vector<VirtualDevice>& devices, std::size_t index,
                std::optional<quint32> replyBase);

    const QString& ErrorText() const { return error_; }

    // One device as it appears in the file.
    static QByteArray Encode(const VirtualDevice& device, std::size_t index, std::optional<quint32> replyBase,
                             const DeviceFiles* files = nullptr);

private:
    bool Write();

    QByteArray EncodeAt(const std::vector<VirtualDevice>& devices, std::size_t index,
                        std::optional<quint32> replyBase) const;

    QString path_;
    const std::vector<DeviceFiles>* files_ = nullptr;
    std::vector<QByteArray> parts_;
    QString error_;
};

} // namespace olg::sim
