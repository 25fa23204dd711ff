#pragma once

#include "Prompts.h"
#include "UpgradeFlow.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace olg {

class NeighbourCache;
class TIPEdit;
class TServeur;

// The "Upgrade" dialog: the user picks an image (".bin") or an upload list (".cfg") and, in the full-featured
// variant, the device's address; Upgrade asks the device and runs the transfer it chooses. Created once and
// reused, so the chosen file stays from one opening to the next.
class TUpgradeForm : public QDialog {
    Q_OBJECT

public:
    TUpgradeForm(TServeur& serveur, Prompts& prompts, NeighbourCache* neighbours, QWidget* mainWindow);

    // The full-featured variant may type any address and is not warned.
    void SetFullFeatures(bool fullFeatures) { fullFeatures_ = fullFeatures; }
    void SetSettings(const UpgradeSettings& settings) { flow_.SetSettings(settings); }
    void SetNeighbourCache(NeighbourCache* neighbours) { flow_.SetNeighbourCache(neighbours); }

    // Opens the dialog modally for the device at this address (empty when no device is listed); Accepted
    // once an upgrade went through.
    QDialog::DialogCode ShowUpgrade(const QString& address);
    // What ShowUpgrade does before the dialog runs, for callers that show it themselves.
    void PrepareUpgrade(const QString& address);

    // The file dialog that chooses an upgrade file (an image or an upload list), proposing this one.
    static FileDialogRequest FileRequest(const QString& fileName);

    void UpdateUpgradeButton();
    void UpgradeBtnClick();
    void Browse();

    UpgradeFlow& Flow() { return flow_; }
    QLineEdit* UpgradeFile() const { return upgradeFile_; }
    TIPEdit* UpgradeIP() const { return upgradeIP_; }
    QPushButton* UpgradeBtn() const { return upgradeBtn_; }
    QPushButton* CancelBtn() const { return cancelBtn_; }
    QLabel* FileLabel() const { return filelabel_; }
    QLabel* WaitLabel() const { return waitLabel_; }
    QProgressBar* ProgressBar() const { return progressBar_; }

public slots:
    // While a transfer runs the dialog stays open: closing it would not stop the device's programming.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateComponents();
    void ConnectFlow();
    void FTPWorkBegin(qint64 count);
    void FTPWork(qint64 total);
    void FTPWorkEnd();
    void SetBusy(bool busy);

    Prompts& prompts_;
    UpgradeFlow flow_;
    bool fullFeatures_ = false;
    // A transfer ended: the dialog closes once the click that ran it is over.
    bool closeRequested_ = false;
    // The progress bar counts in units of this many bytes, so that large files fit its range.
    qint64 progressUnit_ = 1;

    QGroupBox* groupBox1_;
    QLabel* label1_;
    QLineEdit* upgradeFile_;
    QToolButton* browse_;
    QLabel* label2_;
    TIPEdit* upgradeIP_;
    QLabel* filelabel_;
    QProgressBar* progressBar_;
    QLabel* waitLabel_;
    QPushButton* upgradeBtn_;
    QPushButton* cancelBtn_;
};

} // namespace olg
