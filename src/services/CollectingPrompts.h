#pragma once

#include "Prompts.h"

#include <QStringList>

namespace olg {

// Prompts that keep the errors and warnings instead of showing them: a bulk action shows each device's
// messages beside it in its table, rather than one box per device. Questions are answered no.
class CollectingPrompts : public Prompts {
public:
    void ShowError(const QString& message) override { messages_.append(message); }
    void ShowWarning(const QString& message) override { messages_.append(message); }

    const QStringList& Messages() const { return messages_; }

private:
    QStringList messages_;
};

} // namespace olg
