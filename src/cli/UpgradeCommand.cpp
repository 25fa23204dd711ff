#include "UpgradeCommand.h"

#include "BulkRun.h"
#include "ExitCode.h"
#include "UpgradeFlow.h"

#include <QFileInfo>

namespace olg::cli {

namespace {

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

int UpgradeCommand::Run(const Invocation& invocation) {
    QStringList devices;
    QString file;
    if (!session_.DevicesAndFile(invocation, &devices, &file))
        return ExitUsage;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (!QFileInfo(file).isFile() || (suffix != QLatin1String("bin") && suffix != QLatin1String("cfg"))) {
        session_.Prompts().ShowError(
            QStringLiteral("%1 is no .bin image or .cfg upload list that exists").arg(file));
        return ExitUsage;
    }
    if (!session_.CheckReadable(file))
        return ExitUsage;
    const QList<int> selected = session_.ScanAndSelectAny(devices);
    if (selected.isEmpty())
        return ExitFailure;
    // The warning once, whatever the number of devices.
    if (!invocation.Yes &&
        !session_.Prompts().ConfirmBulkUpgrade(UpgradeFlow::WarningText(), session_.Describe(selected))) {
        session_.Err() << "olgctl: upgrade cancelled; nothing was sent" << Qt::endl;
        return ExitFailure;
    }
    if (!Session::NamesSeveral(devices))
        return UpgradeOne(selected.front(), file);
    return BulkRun(session_).Run(selected, QString(), QStringLiteral("upgraded"),
                                 [&](int device) { return UpgradeOne(device, file); });
}

int UpgradeCommand::UpgradeOne(int device, const QString& file) {
    const QString address = QString::fromStdString(session_.Devices().At(device).SenderAddress);
    const QString description = session_.Describe(device);
    TServeur* serveur = session_.Serveur();
    if (!serveur)
        return ExitFailure;

    // The neighbour table is left alone here: dropping an entry needs privileges a script rarely has.
    UpgradeFlow flow(*serveur, session_.Prompts(), nullptr, UpgradeSettings::For(serveur->Settings()));
    ProgressLine& progress = session_.Progress();
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
    session_.Out() << description << ": "
                   << (result.Mode == TransferMode::TftpImage
                           ? QStringLiteral("image sent and read back the same")
                       : result.Mode == TransferMode::FtpImage ? QStringLiteral("image sent")
                                                               : QStringLiteral("files sent"))
                   << Qt::endl;
    return ExitOk;
}

} // namespace olg::cli
