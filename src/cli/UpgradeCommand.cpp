#include "UpgradeCommand.h"

#include "BulkRun.h"
#include "ExitCode.h"
#include "UpgradeFlow.h"

#include <QFileInfo>

namespace olg::cli {

namespace {

const char* const HelpText =
    R"(Usage: olgctl upgrade DEVICE... FILE [--yes] [--tftp-port PORT] [--ftp-port PORT]
       [--jobs N]

Scans, then asks the device how it takes new firmware and sends it the way it asks:
  FILE.bin  an image: by TFTP, then read back and compared, or by FTP as "image.bin" or "rom.bin" (the file's
            path must hold one of these names)
  FILE.cfg  an upload list, one file name a line, of files beside it: the device's FTP store is emptied, then
            every listed file is stored
The warning is printed and the upgrade asked for on the terminal unless --yes is given, once for all the
devices named. Several devices are upgraded up to --jobs at once, each the way it asks; the progress of a
transfer goes to the error stream when they go one after the other. The exit code is 0 only when every transfer succeeded, for a TFTP image with its read-back.

  --yes             do not ask
  --tftp-port PORT  the devices' TFTP port (default 69)
  --ftp-port PORT   the devices' FTP port (default 21)
  --jobs N          how many devices are worked on at once (default 4, at most 64; 1: one after the other)
)";

QString ModeText(TransferMode mode) {
    switch (mode) {
    case TransferMode::TftpImage:
        return QStringLiteral("the image by TFTP");
    case TransferMode::FtpImage:
        return QStringLiteral("the image by FTP");
    case TransferMode::FtpFileSet:
        return QStringLiteral("the file set by FTP");
    case TransferMode::None:
        break;
    }
    return QStringLiteral("no upgrade");
}

} // namespace

std::unique_ptr<Command> MakeUpgradeCommand() {
    return std::make_unique<UpgradeCommand>();
}

UpgradeCommand::UpgradeCommand()
    : Command(QStringLiteral("upgrade"),
              QStringLiteral("send new firmware, or a set of files, to one device or several"),
              QString::fromUtf8(HelpText),
              {{QStringLiteral("yes"), {}},
               {QStringLiteral("tftp-port"), {}, QStringLiteral("PORT")},
               {QStringLiteral("ftp-port"), {}, QStringLiteral("PORT")},
               JobsOption()}) {}

QString UpgradeCommand::Configure(ExchangeSettings& settings) {
    for (const auto& [option, port] : {std::pair{QStringLiteral("tftp-port"), &settings.TftpPort},
                                       std::pair{QStringLiteral("ftp-port"), &settings.FtpPort}}) {
        const std::optional<QString> text = Value(option);
        if (!text)
            continue;
        bool ok = false;
        const uint value = text->toUInt(&ok);
        if (!ok || value == 0 || value > 65535)
            return QStringLiteral("a port is a number from 1 to 65535, not \"%1\"").arg(*text);
        *port = static_cast<quint16>(value);
    }
    return {};
}

int UpgradeCommand::Run(Session& session) {
    session_ = &session;
    QStringList devices;
    QString file;
    if (!DevicesAndFile(*session_, &devices, &file))
        return ExitUsage;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (!QFileInfo(file).isFile() || (suffix != QLatin1String("bin") && suffix != QLatin1String("cfg"))) {
        session_->Prompts().ShowError(
            QStringLiteral("%1 is no .bin image or .cfg upload list that exists").arg(file));
        return ExitUsage;
    }
    if (!session_->CheckReadable(file))
        return ExitUsage;
    const QList<int> selected = session_->ScanAndSelectAny(devices);
    if (selected.isEmpty())
        return ExitFailure;
    // The warning once, whatever the number of devices.
    if (!IsSet(QStringLiteral("yes")) &&
        !session_->Prompts().ConfirmBulkUpgrade(UpgradeFlow::WarningText(), session_->Describe(selected))) {
        session_->Err() << "olgctl: upgrade cancelled; nothing was sent" << Qt::endl;
        return ExitFailure;
    }
    if (!Session::NamesSeveral(devices))
        return UpgradeOne(*session_, selected.front(), file);
    return BulkRun(*session_, Jobs())
        .Run(selected, QString(), QStringLiteral("upgraded"),
             [&](Session& on, int device) { return UpgradeOne(on, device, file); });
}

int UpgradeCommand::UpgradeOne(Session& session, int device, const QString& file) {
    const QString address = QString::fromStdString(session.Devices().At(device).SenderAddress);
    const QString description = session.Describe(device);
    TServeur* serveur = session.Serveur();
    if (!serveur)
        return ExitFailure;

    // The neighbour table is left alone here: dropping an entry needs privileges a script rarely has.
    UpgradeFlow flow(*serveur, session.Prompts(), nullptr, UpgradeSettings::For(serveur->Settings()));
    ProgressLine& progress = session.Progress();
    QObject::connect(&flow, &UpgradeFlow::ModeChosen, &flow, [&](TransferMode mode) {
        progress.Note(description + QStringLiteral(" takes ") + ModeText(mode));
    });
    QObject::connect(&flow, &UpgradeFlow::FileLabelChanged, &flow, [&](const QString& text, bool visible) {
        if (visible && !text.isEmpty())
            progress.Note(text);
    });
    QObject::connect(&flow, &UpgradeFlow::WorkBegin, &flow,
                     [&](qint64 size) { progress.BeginTransfer(description, size); });
    QObject::connect(&flow, &UpgradeFlow::Work, &flow, [&](qint64 done) { progress.Transfer(done); });
    QObject::connect(&flow, &UpgradeFlow::WorkEnd, &flow, [&] { progress.EndTransfer(); });

    flow.Run(address, file);
    const UpgradeFlow::Result& result = flow.LastResult();
    if (!result.Succeeded)
        return ExitFailure;
    session.Out() << description << ": "
                  << (result.Mode == TransferMode::TftpImage
                          ? QStringLiteral("image sent and read back the same")
                      : result.Mode == TransferMode::FtpImage ? QStringLiteral("image sent")
                                                              : QStringLiteral("files sent"))
                  << Qt::endl;
    return ExitOk;
}

} // namespace olg::cli
