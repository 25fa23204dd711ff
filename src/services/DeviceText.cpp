#include "DeviceText.h"

#include "Windows1252.h"

#include <QStringEncoder>

namespace olg {

QString DeviceText::Decode(std::string_view bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::optional<std::string> DeviceText::Encode(const QString& text) {
    // A lone surrogate would silently become a replacement character on the way to UTF-8.
    QStringEncoder toUtf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const QByteArray utf8 = toUtf8.encode(text);
    if (toUtf8.hasError())
        return std::nullopt;
    return Utf8ToWindows1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

} // namespace olg
