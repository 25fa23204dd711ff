#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "MacLog.h"
#include "PlatformServices.h"
#include "Prompts.h"

#include <QObject>
#include <QWidget>

namespace olg {

// The MAC labels, the MAC log they are recorded in, and the Options dialog that names the log. The log's path
// is the program's one setting of its own.
class LabelController : public QObject {
    Q_OBJECT

public:
    LabelController(DeviceList& devices, const DeviceRegistry& registry, PlatformServices& platform,
                    Prompts& prompts, QWidget* window);

    // Prints the label of the device at this index and logs its MAC once the page is open.
    void Print(int index);
    // Adds the device to the MAC log, asking for the log's path when none is set.
    void AppendMacLog(int index);
    void OptionsClick();
    void LoadOptions();
    void SaveOptions();
    const QString& MacLogFile() const { return macLogFile_; }

private:
    static MacLog::Entry MacLogEntry(const TOLG& record);
    void LogMacEntry(const MacLog::Entry& entry);

    DeviceList& devices_;
    const DeviceRegistry& registry_;
    PlatformServices& platform_;
    Prompts& prompts_;
    QWidget* window_;
    QString macLogFile_;
};

} // namespace olg
