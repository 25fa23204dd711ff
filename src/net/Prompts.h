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

    // A file-open dialog with its title, its filters ("Name (*.a *.b);;All files (*.*)"), the extension added
    // to a name typed without one, and the file it starts on. The chosen file's path, or empty when the user
    // cancelled (also where no such dialog exists).
    virtual QString ChooseFileToOpen(const QString& title, const QString& filters,
                                     const QString& defaultSuffix, const QString& startFile) {
        Q_UNUSED(title)
        Q_UNUSED(filters)
        Q_UNUSED(defaultSuffix)
        Q_UNUSED(startFile)
        return {};
    }
    // The warning before a firmware upgrade; true only when the user chose to go on.
    virtual bool ConfirmUpgrade(const QString& warning) {
        Q_UNUSED(warning)
        return false;
    }
};

} // namespace olg
