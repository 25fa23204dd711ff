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

    // File dialogs: the chosen file, or an empty text when the user cancelled. The filter reads like
    // "MAC log (*.txt)"; a save dialog adds the default suffix to a name given without one. Where no one can
    // answer, nothing is chosen.
    virtual QString AskOpenFileName(const QString& /*caption*/, const QString& /*filter*/,
                                    const QString& /*start*/) {
        return {};
    }
    virtual QString AskSaveFileName(const QString& /*caption*/, const QString& /*filter*/,
                                    const QString& /*defaultSuffix*/) {
        return {};
    }
};

} // namespace olg
