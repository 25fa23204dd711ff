#pragma once

#include "UpgradeReply.h"
#include "UpgradeSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

namespace olg {

class NeighbourCache;
class Prompts;
class TServeur;

// The firmware upgrade without any window: asks the device how it wants its firmware, then sends an image by
// TFTP (read back and compared), an image by FTP, or the files of an upload list by FTP. The upgrade dialog
// and `olgctl upgrade` both drive it and show its signals.
class UpgradeFlow : public QObject {
    Q_OBJECT

public:
    // How the latest run ended.
    struct Result {
        bool Sent = false;     // a request went to the device
        bool Answered = false; // the device answered within the wait
        TransferMode Mode = TransferMode::None;
        bool Succeeded = false; // transferred, and for a TFTP image read back the same
    };

    // The neighbour cache may be null: the stale-entry step is then left out.
    UpgradeFlow(TServeur& serveur, Prompts& prompts, NeighbourCache* neighbours,
                const UpgradeSettings& settings = {}, QObject* parent = nullptr);

    // The user name of the devices' FTP account: "©quorbel" in Windows-1252.
    static QByteArray FtpUser();
    // The six lines of the warning shown before an upgrade.
    static QString WarningText();
    // True when the address is given and the file exists: only then can an upgrade start.
    static bool CanUpgrade(const QString& address, const QString& file);
    // Both files read whole; false, with the reason in *error, when one cannot be read.
    static bool SameFileContents(const QString& first, const QString& second, bool* same, QString* error);

    // Sends the request for the file's kind (".bin" an image, ".cfg" an upload list) and runs the transfer
    // the device asks for. Returns once it is over; a file of another kind is left alone.
    void Run(const QString& address, const QString& file);

    bool Busy() const { return busy_; }
    const Result& LastResult() const { return result_; }
    void SetSettings(const UpgradeSettings& settings) { settings_ = settings; }
    void SetNeighbourCache(NeighbourCache* neighbours) { neighbours_ = neighbours; }

    // Runs the event loop for that long.
    static void WaitPumping(int milliseconds);

signals:
    void BusyChanged(bool busy);
    // The name of the file being transferred (or "Deleting " + name); hidden when idle.
    void FileLabelChanged(const QString& text, bool visible);
    // Progress of one transfer: its size (0 when unknown), then the bytes so far, then its end.
    void WorkBegin(qint64 count);
    void Work(qint64 total);
    void WorkEnd();
    void ProgressHidden();
    void WaitLabelShown(bool shown);
    // The device chose its mode.
    void ModeChosen(olg::TransferMode mode);

private:
    void OnUpgradeReply(const QByteArray& datagram);
    // Each returns false with the reason in *error.
    bool TftpImage(QString* error);
    bool FtpImage(const QString& remoteName, QString* error);
    bool FtpFileSet(QString* error);
    void ConnectWork(QObject* client);
    void SetBusy(bool busy);
    void HideProgress();

    TServeur& serveur_;
    Prompts& prompts_;
    NeighbourCache* neighbours_;
    UpgradeSettings settings_;
    QString address_;
    QString file_;
    // The names of the upload list being sent.
    QStringList uploadNames_;
    bool busy_ = false;
    // Set while a request waits for its answer: an answer that comes after "Device not responding" is
    // dropped, never the start of a transfer.
    bool awaiting_ = false;
    TransferMode transferMode_ = TransferMode::None;
    bool verified_ = false;
    Result result_;
};

} // namespace olg
