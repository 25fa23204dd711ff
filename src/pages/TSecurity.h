#pragma once

#include "ConfigPage.h"
#include "PageArguments.h"

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace olg {

class BoundCheckBox;
class TIPEdit;
class PermitRadioButton;

// The device's IP security masks: numbered rows of an address mask, a permit/deny choice and an activated
// switch. Mask n is the address BaseId + 2(n - FirstMask) with its flags byte right after it (bit 0
// activated, bit 1 permit); the other flag bits pass through.
class TSecurity : public ConfigPage {
    Q_OBJECT

public:
    struct Row {
        QLabel* Label;
        TIPEdit* Mask;
        QButtonGroup* Choice; // one exclusive choice per row, never across rows
        PermitRadioButton* Permit;
        QRadioButton* Deny;
        BoundCheckBox* Activated;
    };

    TSecurity(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
              const SecurityArguments& arguments);

    QGroupBox* Frame() const { return frame_; }
    const std::vector<Row>& Rows() const { return rows_; }

private:
    QGroupBox* frame_;
    std::vector<Row> rows_;
    QLabel* permitHeader_;
    QLabel* denyHeader_;
    QLabel* activatedHeader_;
};

} // namespace olg
