#pragma once

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace olg {

// A field the user cannot change takes the colour of the dialog behind it instead of an entry field's, so
// that it does not invite typing.
inline void ShowReadOnly(QWidget* field, bool readOnly) {
    const QPalette normal = QApplication::palette(field);
    QPalette palette = field->palette();
    palette.setBrush(QPalette::Base, normal.brush(readOnly ? QPalette::Window : QPalette::Base));
    field->setPalette(palette);
}

} // namespace olg
