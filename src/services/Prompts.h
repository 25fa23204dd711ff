#pragma once

#include <QString>

namespace olg {

// What a file dialog shows: its title, the file name it proposes, the extension given to a name typed
// without one, and its filters in Qt's form ("Config files (*.cfg);;All files (*)").
struct FileDialogRequest {
    QString Title;
    QString FileName;
    QString DefaultSuffix;
    QString Filter;
    // Whether choosing an existing file asks before it is replaced.
    bool ConfirmOverwrite = false;

    bool operator==(const FileDialogRequest&) const = default;
};

// Every message the program shows to its user goes through this interface, so that the desktop program shows
// message boxes, the command-line tool prints, and tests answer in advance and record what was shown.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal error box with an OK button.
    virtual void ShowError(const QString& message) = 0;
    // A modal warning box with an OK button.
    virtual void ShowWarning(const QString& message) = 0;
    // A modal dialog choosing an existing file to open; the empty text when the user cancelled. Prompts
    // without dialogs (a command line names its files itself) answer as if cancelled.
    virtual QString AskOpenFileName(const FileDialogRequest& /*request*/) { return {}; }
    // A modal dialog choosing a file to save into, in an existing folder; choosing an existing file asks
    // nothing more (the file is then updated) unless the request says to confirm. The empty text when the
    // user cancelled.
    virtual QString AskSaveFileName(const FileDialogRequest& /*request*/) { return {}; }
    // A question answered yes or no; false when the answer is no or nobody can be asked.
    virtual bool AskYesNo(const QString& /*question*/) { return false; }
    // The warning before a firmware upgrade; true only when the user chose to go on. Prompts that cannot ask
    // answer no.
    virtual bool ConfirmUpgrade(const QString& /*warning*/) { return false; }
};

} // namespace olg
