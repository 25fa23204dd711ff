#include "UpgradeFlow.h"

#include "ErrorBox.h"
#include "NeighbourCache.h"
#include "Prompts.h"
#include "TIdFTP.h"
#include "TIdTrivialFTP.h"
#include "TServeur.h"
#include "UploadList.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>
#include <utility>

namespace olg {

namespace {

const QString ImageSuffix = QStringLiteral(".bin");
const QString ListSuffix = QStringLiteral(".cfg");
const QString EmptyDirectory = QStringLiteral("Empty Directory");

// While it lives, only a datagram from this address ends the exchange's waits; the exchange may be gone by
// its end.
class AnswerSender {
public:
    AnswerSender(TServeur& serveur, const QString& address) : serveur_(&serveur) {
        serveur.SetAnswerSender(address);
    }
    ~AnswerSender() {
        if (serveur_)
            serveur_->SetAnswerSender(QString());
    }
    AnswerSender(const AnswerSender&) = delete;
    AnswerSender& operator=(const AnswerSender&) = delete;

private:
    QPointer<TServeur> serveur_;
};

// The names of an upload list, each used as it stands (only the line ends go), or nothing with the reason.
std::optional<QStringList> ReadUploadList(const QString& path, QString* error) {
    QFile file(path);
    QByteArray contents;
    if (!file.open(QIODevice::ReadOnly) ||
        (contents = file.readAll(), file.error() != QFileDevice::NoError)) {
        *error = UpgradeFlow::tr("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QStringList names;
    for (const std::string& name :
         UploadList::Names(std::string_view(contents.constData(), static_cast<std::size_t>(contents.size()))))
        names.append(QString::fromStdString(name));
    return names;
}

// The list's directory joined with a line of it.
QString ListedPath(const QString& list, const QString& line) {
    return QFileInfo(list).absolutePath() + QLatin1Char('/') + line;
}

QString Suffix(const QString& file) {
    const QString lower = QFileInfo(file).fileName().toLower();
    const qsizetype dot = lower.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : lower.mid(dot);
}

} // namespace

UpgradeFlow::UpgradeFlow(TServeur& serveur, Prompts& prompts, NeighbourCache* neighbours,
                         const UpgradeSettings& settings, QObject* parent)
    : QObject(parent), serveur_(serveur), prompts_(prompts), neighbours_(neighbours), settings_(settings) {}

QByteArray UpgradeFlow::FtpUser() {
    return QByteArray("\xA9quorbel");
}

QString UpgradeFlow::WarningText() {
    return QStringList{
        tr("CAUTION: You selected the function to update the firmware."),
        tr("By updating your firmware, your are taking a risk of flash failure."),
        QStringLiteral(" "),
        tr("If your firmware is working stable, and there are no major bugs "),
        tr("that had been fixed by a later revision, we recommend that you "),
        tr("DO NOT try to upgrade your current version."),
    }
        .join(QStringLiteral("\r\n"));
}

bool UpgradeFlow::CanUpgrade(const QString& address, const QString& file) {
    return !address.isEmpty() && !file.isEmpty() && QFileInfo(file).isFile();
}

bool UpgradeFlow::SameFileContents(const QString& first, const QString& second, bool* same, QString* error) {
    QByteArray contents[2];
    const QString paths[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        QFile file(paths[i]);
        if (!file.open(QIODevice::ReadOnly) ||
            (contents[i] = file.readAll(), file.error() != QFileDevice::NoError)) {
            *error = UpgradeFlow::tr("cannot read %1: %2").arg(paths[i], file.errorString());
            return false;
        }
    }
    *same = contents[0] == contents[1];
    return true;
}

void UpgradeFlow::WaitPumping(int milliseconds) {
    QEventLoop wait;
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec();
}

void UpgradeFlow::SetBusy(bool busy) {
    if (busy_ == busy)
        return;
    busy_ = busy;
    emit BusyChanged(busy);
}

void UpgradeFlow::HideProgress() {
    emit FileLabelChanged(QString(), false);
    emit ProgressHidden();
    emit WaitLabelShown(false);
}

void UpgradeFlow::Run(const QString& address, const QString& file) {
    if (busy_ || !CanUpgrade(address, file))
        return;
    result_ = Result{};
    const QString suffix = Suffix(file);
    if (suffix != ImageSuffix && suffix != ListSuffix)
        return;
    if (suffix == ListSuffix) {
        QString error;
        const std::optional<QStringList> lines = ReadUploadList(file, &error);
        if (!lines) {
            prompts_.ShowError(error);
            return;
        }
        // A list names files of its own folder only: one that reaches elsewhere is refused whole, before
        // anything is sent, so no file the user did not mean to publish ends up on a device.
        bool plain = true;
        for (const QString& line : *lines) {
            if (!UploadList::IsPlainName(line.toStdString())) {
                prompts_.ShowError(
                    tr("The upload list %1 names \"%2\", which is not a file of its own folder: "
                       "nothing of the list was sent")
                        .arg(QFileInfo(file).fileName(), line));
                plain = false;
            }
        }
        if (!plain)
            return;
        // Every missing file is named before anything is sent; the upload goes on without it.
        for (const QString& line : *lines)
            if (!QFileInfo(ListedPath(file, line)).isFile())
                ShowError(prompts_, ErrorFileNotFound, QFileInfo(ListedPath(file, line)).fileName());
        uploadNames_ = *lines;
    }

    address_ = address;
    file_ = file;
    SetBusy(true);
    verified_ = false;
    // A device that just moved to this address may still be known under its old hardware address.
    if (neighbours_)
        neighbours_->DropEntry(address);

    QPointer<UpgradeFlow> alive(this);
    awaiting_ = true;
    result_.Sent = true;
    // Only the device answers: another host's datagram (another Finder's scan, say) neither ends the wait
    // nor counts as the answer.
    const QHostAddress device(address);
    const auto handler = [this, device](const QString& sender, quint16, const QByteArray& datagram, bool) {
        if (device.isEqual(QHostAddress(sender), QHostAddress::TolerantConversion))
            OnUpgradeReply(datagram);
    };
    {
        const AnswerSender only(serveur_, address);
        if (suffix == ImageSuffix)
            serveur_.RequestImageUpgrade(address, this, handler);
        else
            serveur_.RequestFileUpgrade(address, this, handler);
    }
    if (!alive || !awaiting_)
        return;
    // No answer within the wait: say so (unless the exchange could not even send, which it has said) and give
    // the button back. A late answer is dropped.
    awaiting_ = false;
    SetBusy(false);
    if (!serveur_.SendFailed())
        ShowError(prompts_, ErrorDeviceNotResponding);
}

void UpgradeFlow::ConnectWork(QObject* client) {
    if (auto* tftp = qobject_cast<TIdTrivialFTP*>(client)) {
        connect(tftp, &TIdTrivialFTP::WorkBegin, this,
                [this](WorkMode, qint64 count) { emit WorkBegin(count); });
        connect(tftp, &TIdTrivialFTP::Work, this, [this](WorkMode, qint64 total) { emit Work(total); });
        connect(tftp, &TIdTrivialFTP::WorkEnd, this, [this](WorkMode) { emit WorkEnd(); });
    } else if (auto* ftp = qobject_cast<TIdFTP*>(client)) {
        connect(ftp, &TIdFTP::WorkBegin, this, [this](WorkMode, qint64 count) { emit WorkBegin(count); });
        connect(ftp, &TIdFTP::Work, this, [this](WorkMode, qint64 total) { emit Work(total); });
        connect(ftp, &TIdFTP::WorkEnd, this, [this](WorkMode) { emit WorkEnd(); });
    }
}

void UpgradeFlow::OnUpgradeReply(const QByteArray& datagram) {
    if (!awaiting_)
        return;
    awaiting_ = false;
    result_.Answered = true;
    transferMode_ = ReplyTransferMode(reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                                      static_cast<std::size_t>(datagram.size()));
    result_.Mode = transferMode_;
    if (transferMode_ != TransferMode::None)
        emit ModeChosen(transferMode_);
    QString remoteName;
    if (transferMode_ == TransferMode::FtpImage) {
        remoteName = QString::fromStdString(FtpImageName(QFileInfo(file_).absoluteFilePath().toStdString()));
        if (remoteName.isEmpty()) {
            ShowError(prompts_, ErrorBadUpgradeFileName);
            SetBusy(false);
            return;
        }
    }
    if (transferMode_ == TransferMode::None || !CanUpgrade(address_, file_)) {
        SetBusy(false);
        return;
    }

    QPointer<UpgradeFlow> alive(this);
    QString error;
    bool transferred = false;
    switch (transferMode_) {
    case TransferMode::TftpImage:
        transferred = TftpImage(&error);
        break;
    case TransferMode::FtpImage:
        transferred = FtpImage(remoteName, &error);
        break;
    case TransferMode::FtpFileSet:
        transferred = FtpFileSet(&error);
        break;
    case TransferMode::None:
        break;
    }
    if (!alive)
        return;
    if (!transferred)
        ShowError(prompts_, ErrorTransfer, error);
    else if (!verified_)
        ShowError(prompts_, ErrorVerify);
    result_.Succeeded = transferred && verified_;
    HideProgress();
    SetBusy(false);
}

bool UpgradeFlow::TftpImage(QString* error) {
    TIdTrivialFTP client(settings_.Tftp);
    ConnectWork(&client);
    client.SetHost(address_);
    emit FileLabelChanged(QFileInfo(file_).fileName(), true);
    if (!client.Put(file_, QStringLiteral("/"))) {
        *error = client.ErrorText();
        return false;
    }
    emit FileLabelChanged(QString(), false);
    emit ProgressHidden();
    // A folder of our own: the current one may be read-only or hold a file of the user's by that name.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        *error = tr("cannot create a temporary folder: %1").arg(folder.errorString());
        return false;
    }
    const QString readBack = folder.filePath(QStringLiteral("~tmp~.bin"));
    // The image read back can be no longer than the one sent: a server that goes on is not the same image,
    // and is not allowed to fill the disk.
    if (!client.Get(QStringLiteral("/"), readBack, QFileInfo(file_).size())) {
        if (client.Error() == TIdTrivialFTP::ErrorKind::TooLong)
            return true;
        *error = client.ErrorText();
        return false;
    }
    emit ProgressHidden();
    return SameFileContents(file_, readBack, &verified_, error);
}

bool UpgradeFlow::FtpImage(const QString& remoteName, QString* error) {
    TIdFTP client(settings_.Ftp);
    ConnectWork(&client);
    client.SetUser(FtpUser());
    client.SetHost(address_);
    bool done = client.Connect();
    if (done) {
        emit FileLabelChanged(QFileInfo(file_).fileName(), true);
        done = client.Store(file_, remoteName);
        emit FileLabelChanged(QString(), false);
    }
    if (!done) {
        *error = client.ErrorText();
        return false;
    }
    client.Quit();
    verified_ = true;
    emit ProgressHidden();
    emit WaitLabelShown(true);
    WaitPumping(settings_.ProgrammingWaitMs);
    return true;
}

bool UpgradeFlow::FtpFileSet(QString* error) {
    TIdFTP client(settings_.Ftp);
    client.SetUser(FtpUser());
    client.SetHost(address_);
    QStringList names;
    if (!client.Connect() || !client.List(&names)) {
        *error = client.ErrorText();
        return false;
    }
    // Every file goes before the first store, so that no stale page survives next to the new ones.
    if (names != QStringList{EmptyDirectory}) {
        for (const QString& name : names) {
            emit FileLabelChanged(tr("Deleting ") + name, true);
            if (!client.Delete(name)) {
                *error = client.ErrorText();
                return false;
            }
        }
    }
    emit FileLabelChanged(QString(), true);
    ConnectWork(&client);
    // The names checked before the request, not the list as it may be now.
    for (const QString& line : std::as_const(uploadNames_)) {
        const QString path = ListedPath(file_, line);
        if (!QFileInfo(path).isFile())
            continue;
        const QString name = QFileInfo(path).fileName();
        emit FileLabelChanged(name, true);
        if (!client.Store(path, name)) {
            *error = client.ErrorText();
            return false;
        }
        emit FileLabelChanged(QString(), false);
    }
    client.Quit();
    verified_ = true;
    emit ProgressHidden();
    emit WaitLabelShown(true);
    return true;
}

} // namespace olg
