#include "StateWriter.h"

#include "IpText.h"
#include "MacAddress.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace olg::sim {

namespace {

QString Text(const std::string& bytes) {
    // Device texts are bytes; Latin-1 maps each byte to one character and back without loss.
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString UpgradeName(UpgradeAnswer answer) {
    switch (answer) {
    case UpgradeAnswer::Tftp:
        return QStringLiteral("tftp");
    case UpgradeAnswer::Ftp:
        return QStringLiteral("ftp");
    case UpgradeAnswer::None:
        break;
    }
    return QStringLiteral("none");
}

QJsonObject Summary(const QByteArray& contents) {
    QJsonObject object;
    object.insert(QStringLiteral("size"), static_cast<qint64>(contents.size()));
    object.insert(
        QStringLiteral("sha256"),
        QString::fromLatin1(QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex()));
    return object;
}

} // namespace

QByteArray StateWriter::Encode(const VirtualDevice& device, std::size_t index,
                               std::optional<quint32> replyBase, const DeviceFiles* files) {
    QJsonObject params;
    for (const auto& descriptor : device.Table()) {
        const int id = descriptor.Id;
        const ParamValue& value = device.Store().Value(id);
        const QString key = QString::number(id);
        switch (device.Kind(id)) {
        case KindIp:
            params.insert(key,
                          QString::fromStdString(IpToText(static_cast<std::uint32_t>(value.AsInteger()))));
            break;
        case KindText:
            params.insert(key, Text(value.AsText()));
            break;
        case KindU32:
            params.insert(key, static_cast<qint64>(static_cast<std::uint32_t>(value.AsInteger())));
            break;
        default:
            params.insert(key, static_cast<qint64>(value.AsInteger()));
            break;
        }
    }
    QJsonObject object;
    object.insert(QStringLiteral("index"), static_cast<qint64>(index));
    object.insert(QStringLiteral("mac"), QString::fromStdString(FormatMac("-", device.Mac())));
    object.insert(QStringLiteral("type"),
                  QStringLiteral("0x") +
                      QStringLiteral("%1").arg(device.Config().TypeCode, 8, 16, QLatin1Char('0')).toUpper());
    object.insert(QStringLiteral("model"), Text(device.Model()));
    object.insert(QStringLiteral("ip"), QString::fromStdString(IpToText(device.Ip())));
    if (replyBase)
        object.insert(QStringLiteral("replyAddress"), QString::fromStdString(IpToText(device.AnsweringAddress(
                                                          *replyBase + static_cast<quint32>(index)))));
    object.insert(QStringLiteral("upgrade"), UpgradeName(device.Upgrade()));
    if (files) {
        // The image by size and checksum, the FTP store by names (with theirs).
        if (files->HasImage)
            object.insert(QStringLiteral("tftpImage"), Summary(files->Image));
        QJsonArray store;
        for (const auto& [name, contents] : files->FtpStore) {
            QJsonObject file = Summary(contents);
            file.insert(QStringLiteral("name"), name);
            store.append(file);
        }
        object.insert(QStringLiteral("ftpFiles"), store);
    }
    object.insert(QStringLiteral("params"), params);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool StateWriter::WriteAll(const std::vector<VirtualDevice>& devices, std::optional<quint32> replyBase) {
    parts_.clear();
    parts_.reserve(devices.size());
    for (std::size_t i = 0; i < devices.size(); ++i)
        parts_.push_back(EncodeAt(devices, i, replyBase));
    return Write();
}

bool StateWriter::Update(const std::vector<VirtualDevice>& devices, std::size_t index,
                         std::optional<quint32> replyBase) {
    if (index >= parts_.size() || index >= devices.size())
        return WriteAll(devices, replyBase);
    parts_[index] = EncodeAt(devices, index, replyBase);
    return Write();
}

QByteArray StateWriter::EncodeAt(const std::vector<VirtualDevice>& devices, std::size_t index,
                                 std::optional<quint32> replyBase) const {
    const DeviceFiles* files = files_ && index < files_->size() ? &(*files_)[index] : nullptr;
    return Encode(devices[index], index, replyBase, files);
}

bool StateWriter::Write() {
    // QSaveFile writes beside the target and renames over it: a reader never sees half a file.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        error_ = file.errorString();
        return false;
    }
    file.write("{\"devices\":[\n");
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        file.write(parts_[i]);
        file.write(i + 1 < parts_.size() ? ",\n" : "\n");
    }
    file.write("]}\n");
    if (!file.commit()) {
        error_ = file.errorString();
        return false;
    }
    return true;
}

} // namespace olg::sim
