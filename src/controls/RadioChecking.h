#pragma once

#include <QAbstractButton>
#include <QButtonGroup>

namespace olg {

// Checks or unchecks a radio button as a loaded value says. Qt refuses to uncheck the checked button of an
// exclusive group, but a value that none of the group's buttons stands for must show none checked.
inline void SetRadioChecked(QAbstractButton& button, bool checked) {
    if (checked || !button.isChecked()) {
        button.setChecked(checked);
        return;
    }
    if (QButtonGroup* group = button.group()) {
        const bool exclusive = group->exclusive();
        group->setExclusive(false);
        button.setChecked(false);
        group->setExclusive(exclusive);
    } else {
        const bool exclusive = button.autoExclusive();
        button.setAutoExclusive(false);
        button.setChecked(false);
        button.setAutoExclusive(exclusive);
    }
}

} // namespace olg
