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

const char* const HelpText = R"(Usage: olgctl label DEVICE [--pdf FILE | --png FILE] [--log FILE]
       olgctl label DEVICE... --log FILE

Scans, then makes the MAC label of the device: a Code 128 symbol (subset A) of its MAC address written with
"-", with the text under the bars, as a landscape PDF page or as a PNG image; and adds the device to the MAC
log, a fixed-column text file. A MAC address already in the log is not added again: the tool says
"MAC Address already in use!" and exits with 1, after making the label all the same.

  --pdf FILE  the label as a PDF page
  --png FILE  the label as a PNG image
  --log FILE  the MAC log to add the device to
)";

// The title the desktop program gives the print job of a label.
const QString JobTitle = QStringLiteral("eOutletGuard Finder ");

} // namespace

std::unique_ptr<Command> MakeLabelCommand() {
    return std::make_unique<LabelCommand>();
}

LabelCommand::LabelCommand()
    : Command(QStringLiteral("label"),
              QStringLiteral("make the MAC label of one device and record it in the MAC log"),
              QString::fromUtf8(HelpText),
              {{QStringLiteral("pdf"), {}, QStringLiteral("FILE")},
               {QStringLiteral("png"), {}, QStringLiteral("FILE")},
               {QStringLiteral("log"), {}, QStringLiteral("FILE")}}) {}

int LabelCommand::Run(Session& session) {
    session_ = &session;
    ConsolePrompts& prompts = session_->Prompts();
    if (Words().isEmpty()) {
        prompts.ShowError(QStringLiteral("label takes one DEVICE (try olgctl label --help)"));
        return ExitUsage;
    }
    if (IsSet(QStringLiteral("pdf")) && IsSet(QStringLiteral("png"))) {
        prompts.ShowError(QStringLiteral("label writes a PDF or a PNG file, not both"));
        return ExitUsage;
    }
    if (!IsSet(QStringLiteral("pdf")) && !IsSet(QStringLiteral("png")) && !IsSet(QStringLiteral("log"))) {
        prompts.ShowError(QStringLiteral("label needs --pdf, --png or --log (try olgctl label --help)"));
        return ExitUsage;
    }
    const bool several = Session::NamesSeveral(Words());
    // One label file holds one label; the log takes a line per device.
    if (several && (IsSet(QStringLiteral("pdf")) || IsSet(QStringLiteral("png")))) {
        prompts.ShowError(
            QStringLiteral("--pdf and --png make the label of one DEVICE; several go to --log"));
        return ExitUsage;
    }
    const QList<int> selected = session_->ScanAndSelectAny(Words());
    if (selected.isEmpty())
        return ExitFailure;
    if (!several)
        return LabelOne(selected.front());
    // One after the other: nothing is sent, and every label goes into the one log.
    return BulkRun(*session_, 1)
        .Run(selected, QString(), QStringLiteral("logged"),
             [&](Session&, int device) { return LabelOne(device); });
}

int LabelCommand::LabelOne(int device) {
    ConsolePrompts& prompts = session_->Prompts();
    const TOLG& record = session_->Devices().At(device);
    if (session_->Registry().FindDeviceType(record.TypeValue()) < 0) {
        prompts.ShowError(QStringLiteral("%1 is of no known device type").arg(session_->Describe(device)));
        return ExitFailure;
    }
    const MacLog::Entry entry{
        FormatMac("-", record.Mac), MacLogFile::DateTimeText(QDateTime::currentDateTime()),
        record.Value(param::ModelName).AsText(), record.Value(param::Firmware).AsText()};
    const QString mac = QString::fromStdString(entry.MacText);

    // The label first: like a printed one, it is made even when the log refuses the MAC.
    const bool labelled = WriteLabel(mac);
    if (!IsSet(QStringLiteral("log")))
        return labelled ? ExitOk : ExitFailure;
    QString error;
    switch (MacLogFile::Append(*Value(QStringLiteral("log")), entry, &error)) {
    case MacLogFile::Result::Added:
        session_->Out() << "Logged " << mac << " in " << *Value(QStringLiteral("log")) << Qt::endl;
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

bool LabelCommand::WriteLabel(const QString& mac) {
    if (!IsSet(QStringLiteral("pdf")) && !IsSet(QStringLiteral("png")))
        return true;
    const MacLabel label(mac);
    QString error;
    if (IsSet(QStringLiteral("pdf"))) {
        if (!label.WritePdf(*Value(QStringLiteral("pdf")), JobTitle + mac, &error)) {
            session_->Prompts().ShowError(error);
            return false;
        }
        session_->Out() << "Label of " << mac << " written to " << *Value(QStringLiteral("pdf")) << Qt::endl;
        return true;
    }
    if (!label.Valid(&error) ||
        !label.Image(MacLabel::FileDotsPerInch).save(*Value(QStringLiteral("png")), "PNG")) {
        session_->Prompts().ShowError(
            error.isEmpty() ? QStringLiteral("%1 cannot be written").arg(*Value(QStringLiteral("png")))
                            : error);
        return false;
    }
    session_->Out() << "Label of " << mac << " written to " << *Value(QStringLiteral("png")) << Qt::endl;
    return true;
}

} // namespace olg::cli
