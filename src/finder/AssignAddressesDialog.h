#pragma once

#include "AddressPlan.h"
#include "DeviceList.h"

#include <QDialog>
#include <QList>

class QLabel;
class QProgressBar;
class QPushButton;

namespace olg {

class DeviceResultTable;
class Prompts;
class TIPEdit;
class TServeur;

// "Assign Addresses": consecutive addresses, with one mask and gateway, for the devices selected, in the
// order the list shows them. The preview follows what is typed (old address -> new), and OK stays disabled,
// with the reason below the table, while the plan cannot be written. OK writes each device's mask, address
// and gateway with the general write, one device after the other; a device counts as written only on its own
// answer. The table then shows each device's result and OK becomes Close.
class AssignAddressesDialog : public QDialog {
    Q_OBJECT

public:
    // The first address, mask and gateway start as the first device's own.
    AssignAddressesDialog(const DeviceList& devices, TServeur& serveur, Prompts& prompts,
                          const QList<int>& planned, QWidget* owner = nullptr);

    // Whether a write went out: the list then shows old addresses until the next scan.
    bool Wrote() const { return wrote_; }
    int WrittenCount() const { return writtenCount_; }

    TIPEdit* FirstAddress() const { return first_; }
    TIPEdit* Mask() const { return mask_; }
    TIPEdit* Gateway() const { return gateway_; }
    DeviceResultTable* Preview() const { return table_; }
    QLabel* Problem() const { return problem_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    // Not while the devices are written.
    void reject() override;

private:
    void CreateComponents();
    AddressPlan CurrentPlan() const;
    void UpdatePreview();
    void OkClick();
    void WriteAll();
    // The device's result text; empty once the dialog is gone.
    // How one device's write went: the text of its row.
    struct Outcome {
        QString Text;
        bool Written = false; // the device answered the write
        bool Sent = false;    // a write left for it
    };
    // Runs on a worker thread, on a lane of the window's exchange.
    Outcome WriteOne(const AddressPlan& plan, int row, TOLG record) const;

    const DeviceList& devices_;
    TServeur& serveur_;
    Prompts& prompts_;
    QList<int> planned_;
    bool writing_ = false;
    bool wrote_ = false;
    bool done_ = false;
    int writtenCount_ = 0;

    TIPEdit* first_;
    TIPEdit* mask_;
    TIPEdit* gateway_;
    DeviceResultTable* table_;
    QLabel* problem_;
    QProgressBar* progress_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace olg
