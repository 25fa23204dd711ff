// Pictures of the live view on the demo LAN, so that a reviewer sees a device go offline and come back:
// the window runs offscreen with Watch the LAN on every 10 s and the Last seen column shown, and is saved
// at the given seconds after start, with the tooltips of the rows beside each picture.
// Usage: QT_QPA_PLATFORM=offscreen live_gallery <folder> [SECONDS...]   (default 8 45 70 97)

#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TFormMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTableView>
#include <QTimer>

#include <cstdio>

using namespace olg;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fputs("Usage: live_gallery <folder> [SECONDS...]\n", stderr);
        return 2;
    }
    const QDir folder(arguments.first());
    QList<int> seconds;
    for (const QString& argument : arguments.mid(1))
        seconds.append(argument.toInt());
    if (seconds.isEmpty())
        seconds = {8, 45, 70, 97};

    SimulatedLan lan;
    QString error;
    if (!folder.mkpath(QStringLiteral(".")) || !lan.StartDemo(&error)) {
        std::fprintf(stderr, "live_gallery: %s\n", qPrintable(error));
        return 1;
    }
    olg::testing::RecordingPlatform platform;
    olg::testing::RecordingPrompts prompts;
    TFormMain window(platform, prompts, lan.Settings());
    window.resize(760, 520);
    window.show();
    window.Live().SetIntervalSeconds(LiveView::MinIntervalSeconds);
    window.findChild<QAction*>(QStringLiteral("LastSeenMenu"))->trigger();
    window.Live().SetWatching(true);
    const QAbstractItemModel* model = window.findChild<QTableView*>(QStringLiteral("StringGrid"))->model();

    QElapsedTimer clock;
    clock.start();
    for (int second : seconds) {
        QEventLoop wait;
        QTimer::singleShot(std::max<qint64>(0, second * 1000LL - clock.elapsed()), &wait, &QEventLoop::quit);
        wait.exec();
        const QString name = folder.filePath(QStringLiteral("live-%1s").arg(second, 3, 10, QLatin1Char('0')));
        QFile tips(name + QStringLiteral(".txt"));
        if (!window.grab().save(name + QStringLiteral(".png")) || !tips.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "live_gallery: cannot write %s\n", qPrintable(name));
            return 1;
        }
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString tip =
                model->index(row, 0).data(Qt::ToolTipRole).toString().replace(u'\n', QStringLiteral(" | "));
            if (!tip.isEmpty())
                tips.write(
                    (model->index(row, 0).data().toString() + QStringLiteral(": ") + tip + u'\n').toUtf8());
        }
        std::printf("%s.png\n", qPrintable(name));
        std::fflush(stdout);
    }
    return 0;
}
