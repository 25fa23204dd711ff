#include "LabelCommand.h"

#include "BulkRun.h"
#include "ExitCode.h"
#include "MacAddress.h"
#include "MacLabel.h"
#include "MacLogFile.h"
#include "ParamIds.h"

#include <QDateTime>

namespace olg::cli {

namespace {

// The title the desktop program gives the print job of a label.
const QString JobTitle = QStringLiteral("eOutletGuard Finder ");

} // namespace

int LabelCommand::Run(const Invocation& invocation) {
    ConsolePrompts& prompts = session_.Prompts();
    if (invocation.Arguments.isEmpty()) {
        prompts.ShowError(QStringLiteral("label takes one DEVICE (try olgctl label --help)"));
        return ExitUsage;
    }
    if (invocation.Pdf && invocation.Png) {
        prompts.ShowError(QStringLiteral("label writes a PDF or a PNG file, not both"));
        return ExitUsage;
    }
    if (!invocation.Pdf && !invocation.Png && !invocation.Log) {
        prompts.ShowError(QStringLiteral("label needs --pdf, --png or --log (try olgctl label --help)"));
        return ExitUsage;
    }
    const bool several = Session::NamesSeveral(invocation.Arguments);
    // One label file holds one label; the log takes a line per device.
    if (several && (invocation.Pdf || invocation.Png)) {
        prompts.ShowError(
            QStringLiteral("--pdf and --png make the label of one DEVICE; several go to --log"));
        return ExitUsage;
    }
    const QList<int> selected = session_.ScanAndSelectAny(invocation.Arguments);
    if (selected.isEmpty())
        return ExitFailure;
    if (!several)
        return LabelOne(selected.front(), invocation);
    return BulkRun(session_).Run(selected, QString(), QStringLiteral("logged"),
                                 [&](int device) { return LabelOne(device, invocation); });
}

int LabelCommand::LabelOne(int device, const Invocation& invocation) {
    ConsolePrompts& prompts = session_.Prompts();
    const TOLG& record = session_.Devices().At(device);
    if (session_.Registry().FindDeviceType(record.TypeValue()) < 0) {
        prompts.ShowError(QStringLiteral("%1 is of no known device type").arg(session_.Describe(device)));
        return ExitFailure;
    }
    const MacLog::Entry entry{
        FormatMac("-", record.Mac), MacLogFile::DateTimeText(QDateTime::currentDateTime()),
        record.Value(param::ModelName).AsText(), record.Value(param::Firmware).AsText()};
    const QString mac = QString::fromStdString(entry.MacText);

    // The label first: like a printed one, it is made even when the log refuses the MAC.
    const bool labelled = WriteLabel(invocation, mac);
    if (!invocation.Log)
        return labelled ? ExitOk : ExitFailure;
    QString error;
    switch (MacLogFile::Append(*invocation.Log, entry, &error)) {
    case MacLogFile::Result::Added:
        session_.Out() << "Logged " << mac << " in " << *invocation.Log << Qt::endl;
        return labelled ? ExitOk : ExitFailure;
    case MacLogFile::Result::Duplicate:
        prompts.ShowWarning(QString::fromUtf8(MacLog::DuplicateWarning));
        return ExitFailure;
    case MacLogFile::Result::Failed:
        break;
    }
    prompts.ShowError(error);
    return ExitFailure;
}

bool LabelCommand::WriteLabel(const Invocation& invocation, const QString& mac) {
    if (!invocation.Pdf && !invocation.Png)
        return true;
    const MacLabel label(mac);
    QString error;
    if (invocation.Pdf) {
        if (!label.WritePdf(*invocation.Pdf, JobTitle + mac, &error)) {
            session_.Prompts().ShowError(error);
            return false;
        }
        session_.Out() << "Label of " << mac << " written to " << *invocation.Pdf << Qt::endl;
        return true;
    }
    if (!label.Valid(&error) || !label.Image(MacLabel::FileDotsPerInch).save(*invocation.Png, "PNG")) {
        session_.Prompts().ShowError(
            error.isEmpty() ? QStringLiteral("%1 cannot be written").arg(*invocation.Png) : error);
        return false;
    }
    session_.Out() << "Label of " << mac << " written to " << *invocation.Png << Qt::endl;
    return true;
}

} // namespace olg::cli
