#pragma once

#include <QString>

namespace olg {

// Every message the program shows to its user goes through this interface, so that the desktop program shows
// message boxes, the command-line tool prints, and tests answer in advance and record what was shown.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal error box with an OK button.
    virtual void ShowError(const QString& message) = 0;
    // A modal warning box with an OK button.
    virtual void ShowWarning(const QString& message) = 0;
};

} // namespace olg
