// The main window's MAC labels, MAC log and options.

#include "MacAddress.h"
#include "MacLabel.h"
#include "MacLogFile.h"
#include "ParamIds.h"
#include "TFormMain.h"

#include "BusyCursor.h"
#include "TOptionsForm.h"

#include <QDateTime>
#include <QGuiApplication>

namespace olg {

namespace {

const QString PropertiesGroup = QStringLiteral("Properties");
const QString MacFileValue = QStringLiteral("MACFile");
const QString LogFilter = QStringLiteral("Text files (*.txt);;All files (*)");

// The ordinary pointer while the user answers a question in the middle of a long operation.
class ArrowCursor {
public:
    ArrowCursor() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QGuiApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

} // namespace

void TFormMain::Print() {
    if (devices_.Empty())
        return;
    const TOLG& record = devices_.At(selectedDevice_);
    if (registry_.FindDeviceType(record.TypeValue()) < 0)
        return;
    // Taken now: a scan may empty the list while a dialog is open.
    const MacLog::Entry entry = MacLogEntry(record);
    const QString mac = QString::fromStdString(entry.MacText);
    PrinterService& printer = platform_.Printer();
    PrintJob job{ApplicationTitle() + QLatin1Char(' ') + mac, true, {}};
    // Without a printer, as on many a fresh machine, the label goes into a PDF file rather than nowhere.
    if (!printer.HasPrinter()) {
        // The PDF file is written whole: replacing another one is asked first.
        job.PdfFile = prompts_.AskSaveFileName(
            {tr("Print MAC Address"), {}, QStringLiteral("pdf"), tr("PDF files (*.pdf)"), true});
        if (job.PdfFile.isEmpty())
            return;
    }

    BusyCursor wait;
    QString error;
    // The log is written inside the job, once the page is open: a label that could not be made is not
    // logged, else the next try would call its MAC already used.
    const auto page = [&](QPainter& painter, int dotsPerInch) {
        const MacLabel label(mac);
        QString invalid;
        if (label.Valid(&invalid))
            label.Paint(painter, dotsPerInch);
        else
            prompts_.ShowError(invalid);
        LogMacEntry(entry);
    };
    if (!printer.Print(job, page, &error))
        prompts_.ShowError(error);
}

MacLog::Entry TFormMain::MacLogEntry(const TOLG& record) {
    return {FormatMac("-", record.Mac), MacLogFile::DateTimeText(QDateTime::currentDateTime()),
            record.Value(param::ModelName).AsText(), record.Value(param::Firmware).AsText()};
}

void TFormMain::AppendMacLog(int index) {
    if (index >= 0 && index < devices_.Size())
        LogMacEntry(MacLogEntry(devices_.At(index)));
}

void TFormMain::LogMacEntry(const MacLog::Entry& entry) {
    const ArrowCursor answering;
    if (macLogFile_.isEmpty()) {
        // No log chosen yet: ask for one, and keep it as the Options dialog would.
        const QString chosen =
            prompts_.AskSaveFileName({QStringLiteral("MAC File"), {}, QStringLiteral("txt"), LogFilter});
        if (chosen.isEmpty())
            return;
        macLogFile_ = chosen;
        SaveOptions();
    }
    QString error;
    switch (MacLogFile::Append(macLogFile_, entry, &error)) {
    case MacLogFile::Result::Added:
        break;
    case MacLogFile::Result::Duplicate:
        prompts_.ShowWarning(QString::fromUtf8(MacLog::DuplicateWarning));
        break;
    case MacLogFile::Result::Failed:
        prompts_.ShowError(error);
        break;
    }
}

void TFormMain::OptionsClick() {
    TOptionsForm form(prompts_, this);
    form.MACFile()->setText(macLogFile_);
    if (form.exec() != QDialog::Accepted)
        return;
    macLogFile_ = form.MACFile()->text();
    SaveOptions();
}

void TFormMain::LoadOptions() {
    macLogFile_ = platform_.Settings().Value(PropertiesGroup, MacFileValue);
}

void TFormMain::SaveOptions() {
    platform_.Settings().SetValue(PropertiesGroup, MacFileValue, macLogFile_);
}

} // namespace olg
