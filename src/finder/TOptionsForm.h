#pragma once

#include "Prompts.h"

#include <QDialog>
#include <QLineEdit>
#include <QToolButton>

namespace olg {

// The Options dialog: the path of the MAC log, typed or chosen with the browse button.
class TOptionsForm : public QDialog {
    Q_OBJECT

public:
    TOptionsForm(Prompts& prompts, QWidget* parent = nullptr);

    QLineEdit* MACFile() const { return macFile_; }

private:
    void Browse();

    Prompts& prompts_;
    QLineEdit* macFile_;
    QToolButton* browse_;
};

} // namespace olg
