#pragma once

#include <QImage>
#include <QPainter>
#include <QString>

namespace olg {

// The MAC label: a Code 128 symbol in subset A, 0.25 inch high, its narrowest bar 1 mil rounded to whole
// printer dots and at least one, with the text under the bars.
class MacLabel {
public:
    explicit MacLabel(const QString& text) : text_(text) {}

    // False, with the reason, when the text cannot be encoded; nothing is painted then.
    bool Valid(QString* error = nullptr) const;

    // Paints the label with its top left corner at the painter's origin, on a device of this resolution
    // (dots per inch); false when the text cannot be encoded.
    bool Paint(QPainter& painter, int dotsPerInch) const;

    // The label alone on white, with the blank margin a reader needs around the symbol, as a printer of
    // this resolution prints it and a scanner of twice the resolution sees it: each dot two pixels wide,
    // since readers stumble over bars of a single pixel.
    QImage Image(int dotsPerInch) const;

    // A landscape page holding the label at its top left, as the printer would print it. False with the
    // reason.
    bool WritePdf(const QString& file, const QString& jobTitle, QString* error) const;

    // Resolution of the pages and images the program makes itself: that of a common label printer.
    static constexpr int FileDotsPerInch = 300;

private:
    int ModuleDots(int dotsPerInch) const;
    int SymbolModules() const;

    QString text_;
};

} // namespace olg
