#pragma once

#include "Prompts.h"

#include <QStringList>

namespace olg::testing {

// Records every message instead of showing it, so that a test can assert what the user would have seen.
class RecordingPrompts : public Prompts {
public:
    void ShowError(const QString& message) override { errors.append(message); }
    void ShowWarning(const QString& message) override { warnings.append(message); }

    QStringList errors;
    QStringList warnings;
};

} // namespace olg::testing
