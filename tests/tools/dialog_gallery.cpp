// Writes a picture of every tab of every model dialog, so that a reviewer can look at them all: the dialogs
// run offscreen on the simulated LAN (one device of each type code and older firmware of the models whose
// dialog depends on it), each in its full view after Options has read the device.
// Usage: QT_QPA_PLATFORM=offscreen dialog_gallery <folder>; files are named model-version-tab[-inner].png.

#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TFormMain.h"
#include "TOlgForm.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <cstdio>

using namespace olg;

namespace {

QString FilePart(QString text) {
    text = text.trimmed();
    text.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.]+")), QStringLiteral("_"));
    return text;
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int Save(QWidget& dialog, const QDir& folder, const QString& name) {
    // Lets the dialog finish what the last change asked of its layout.
    Wait(20);
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!dialog.grab().save(path)) {
        std::fprintf(stderr, "dialog_gallery: cannot write %s\n", qPrintable(path));
        return 0;
    }
    std::printf("%s\n", qPrintable(path));
    return 1;
}

// Every visible tab of the dialog, and every tab of the page controls nested in it.
int SaveTabs(TOlgForm& dialog, const QDir& folder, const QString& prefix) {
    int saved = 0;
    for (int index = 0; index < dialog.PageControl->count(); ++index) {
        if (!dialog.PageControl->isTabVisible(index))
            continue;
        dialog.PageControl->setCurrentIndex(index);
        const QString tab = prefix + QStringLiteral("-%1_").arg(index, 2, 10, QLatin1Char('0')) +
                            FilePart(dialog.PageControl->tabText(index));
        const QList<QTabWidget*> inner = dialog.PageControl->widget(index)->findChildren<QTabWidget*>();
        if (inner.isEmpty()) {
            saved += Save(dialog, folder, tab);
            continue;
        }
        for (QTabWidget* control : inner) {
            for (int page = 0; page < control->count(); ++page) {
                control->setCurrentIndex(page);
                saved += Save(dialog, folder,
                              tab + QStringLiteral("-%1_").arg(page) + FilePart(control->tabText(page)));
            }
            control->setCurrentIndex(0);
        }
    }
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialog_gallery <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "dialog_gallery: cannot create %s\n", argv[1]);
        return 1;
    }

    SimulatedLan lan;
    QString error;
    if (!lan.Start(&error)) {
        std::fprintf(stderr, "dialog_gallery: %s\n", qPrintable(error));
        return 1;
    }
    testing::RecordingPrompts prompts;
    testing::RecordingPlatform platform;
    TFormMain window(platform, prompts, lan.Settings());
    window.show();
    window.Scan();
    Wait(3000);

    auto* grid = window.findChild<QTableView*>(QStringLiteral("StringGrid"));
    int saved = 0;
    for (int index = 0; index < window.Devices().Size(); ++index) {
        grid->setCurrentIndex(grid->model()->index(index, 0));
        const TOLG& device = window.Devices().At(index);
        const QString prefix = QString::fromStdString(device.Value(5).AsText()) + QStringLiteral("-") +
                               FilePart(QString::fromStdString(device.Value(12).AsText()));
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = qobject_cast<TOlgForm*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            if (!dialog->AvanceButton->isHidden())
                dialog->AvanceButtonClick();
            saved += SaveTabs(*dialog, folder, prefix);
            dialog->reject();
        });
        window.Config();
    }
    for (const QString& message : prompts.errors)
        std::fprintf(stderr, "dialog_gallery: the dialog said \"%s\"\n", qPrintable(message));
    std::printf("%d pictures of %d devices\n", saved, window.Devices().Size());
    return saved > 0 ? 0 : 1;
}
