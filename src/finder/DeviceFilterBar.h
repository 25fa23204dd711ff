#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace olg {

// The filter field above the grid (Ctrl+F goes there, Enter goes on to the rows), and the note for the
// status bar that tells how many devices the filter lets through.
class DeviceFilterBar : public QWidget {
    Q_OBJECT

public:
    DeviceFilterBar(QWidget* window, QWidget* rows);

    QLineEdit* Edit() const { return edit_; }
    // "N of M devices shown", shown only while a filter is typed.
    QLabel* Note() const { return note_; }
    void ShowCount(int shown, int total);

private:
    QLineEdit* edit_;
    QLabel* note_;
};

} // namespace olg
