#pragma once

#include "Prompts.h"
#include "SettingsStore.h"

namespace olg {

// The folder each kind of file (by the dialog's default extension) was last chosen in, kept in the settings,
// so that the next dialog for that kind opens there.
class FileDialogFolders {
public:
    explicit FileDialogFolders(SettingsStore& settings) : settings_(settings) {}

    // The file name the dialog starts with: the proposed one, in the last folder of its kind unless it
    // names a folder of its own.
    QString StartName(const FileDialogRequest& request) const;
    void Remember(const FileDialogRequest& request, const QString& chosen);

private:
    SettingsStore& settings_;
};

} // namespace olg
