#include "MacLabel.h"

#include "Code128.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace olg {

namespace {

constexpr double BarHeightInch = 0.25;
constexpr double NarrowestBarInch = 0.001;
constexpr double LargestTextPoints = 8.0;
constexpr double TextGapInch = 0.02;
// A printer cannot print at the edge of the paper; the PDF keeps a border as wide as a usual one.
constexpr double PdfBorderMillimetres = 10.0;
constexpr int PixelsPerDot = 2;

std::optional<std::vector<int>> Values(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return Code128::Encode(text.toLatin1().toStdString());
}

} // namespace

bool MacLabel::Valid(QString* error) const {
    // toLatin1 would turn an unknown character into "?", which subset A holds: check the text itself.
    bool latin = true;
    for (const QChar character : text_)
        latin = latin && character.unicode() < 0x80;
    if (latin && Values(text_))
        return true;
    if (error)
        *error = QStringLiteral("\"%1\" cannot be written as a Code 128 symbol of subset A").arg(text_);
    return false;
}

int MacLabel::ModuleDots(int dotsPerInch) const {
    return std::max(1, static_cast<int>(std::lround(NarrowestBarInch * dotsPerInch)));
}

int MacLabel::SymbolModules() const {
    int modules = 0;
    if (const auto values = Values(text_))
        for (const std::uint8_t width : Code128::ModuleWidths(*values))
            modules += width;
    return modules;
}

bool MacLabel::Paint(QPainter& painter, int dotsPerInch) const {
    if (!Valid())
        return false;
    const int module = ModuleDots(dotsPerInch);
    const int barHeight = static_cast<int>(std::lround(BarHeightInch * dotsPerInch));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    int x = 0;
    bool bar = true;
    for (const std::uint8_t width : Code128::ModuleWidths(*Values(text_))) {
        if (bar)
            painter.drawRect(x, 0, width * module, barHeight);
        x += width * module;
        bar = !bar;
    }

    // The text as wide as the symbol at most, so that it stays under the bars.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(LargestTextPoints);
    painter.setFont(font);
    const qreal natural = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(text_);
    if (natural > x)
        font.setPointSizeF(LargestTextPoints * x / natural);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal top = barHeight + TextGapInch * dotsPerInch;
    painter.drawText(QPointF((x - metrics.horizontalAdvance(text_)) / 2, top + metrics.ascent()), text_);
    painter.restore();
    return true;
}

QImage MacLabel::Image(int dotsPerInch) const {
    const int module = ModuleDots(dotsPerInch);
    const int margin = Code128::QuietZoneModules * module;
    const int width = SymbolModules() * module;
    const int height = static_cast<int>(std::lround((BarHeightInch + TextGapInch) * dotsPerInch)) +
                       static_cast<int>(std::lround(LargestTextPoints / 72.0 * dotsPerInch * 1.5));
    QImage image((width + 2 * margin) * PixelsPerDot, (height + 2 * margin) * PixelsPerDot,
                 QImage::Format_RGB32);
    // Painted at the printer's resolution, so that the text keeps its size in points.
    const auto setResolution = [&image](int resolution) {
        const int dotsPerMetre = static_cast<int>(std::lround(resolution / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
    };
    setResolution(dotsPerInch);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(PixelsPerDot, PixelsPerDot);
        painter.translate(margin, margin);
        Paint(painter, dotsPerInch);
    }
    setResolution(dotsPerInch * PixelsPerDot);
    return image;
}

bool MacLabel::WritePdf(const QString& file, const QString& jobTitle, QString* error) const {
    if (!Valid(error))
        return false;
    QPdfWriter writer(file);
    writer.setTitle(jobTitle);
    writer.setResolution(FileDotsPerInch);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Landscape,
        QMarginsF(PdfBorderMillimetres, PdfBorderMillimetres, PdfBorderMillimetres, PdfBorderMillimetres),
        QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) {
        *error = QStringLiteral("%1 cannot be written").arg(file);
        return false;
    }
    Paint(painter, writer.resolution());
    if (!painter.end()) {
        *error = QStringLiteral("%1 cannot be written").arg(file);
        return false;
    }
    return true;
}

} // namespace olg
