#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace olg {

// The warning before a firmware upgrade: Upgrade goes on (accepted), Return is the default and the escape and
// comes first, so that a hasty Enter does not start the upgrade.
class TFormWarning : public QDialog {
    Q_OBJECT

public:
    explicit TFormWarning(const QString& warning, QWidget* owner = nullptr);

    QPushButton* Button1() const { return button1_; }
    QPushButton* Button2() const { return button2_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* picture_;
    QLabel* text_;
    QPushButton* button1_;
    QPushButton* button2_;
};

} // namespace olg
