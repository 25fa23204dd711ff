// The desktop program: finds the eOutletGuard devices on the LAN and configures them.

#include "ApplicationIcon.h"
#include "ExchangeSettings.h"
#include "LocalSocketInstance.h"
#include "SimulatedLan.h"
#include "TFormMain.h"
#include "WidgetPrompts.h"
#include "WindowActivation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "olgfinder: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("olgfinder"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OLG_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Finds the eOutletGuard devices on the LAN and configures them."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption bindOption(
        QStringLiteral("bind"),
        QStringLiteral("Listen on ADDR:PORT instead of 0.0.0.0:52389 (port 0: a free one)."),
        QStringLiteral("ADDR:PORT"));
    const QCommandLineOption targetOption(
        QStringLiteral("target"),
        QStringLiteral("Send requests to ADDR:PORT instead of 255.255.255.255:52389."),
        QStringLiteral("ADDR:PORT"));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"), QStringLiteral("Run on a simulated LAN: the device simulator on loopback, "
                                               "one device of each type and older firmware."));
    parser.addOptions({bindOption, targetOption, demoOption});

    // Help and version need no display. Everything else is parsed once the application has taken out the
    // window system's own options (-platform, -style, ...).
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-?" ||
            argument == "-v" || argument == "--version") {
            QCoreApplication console(argc, argv);
            parser.process(console);
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(olg::TFormMain::ApplicationTitle());
    QApplication::setWindowIcon(olg::ApplicationIcon::Load(QCoreApplication::applicationDirPath()));
    QGuiApplication::setDesktopFileName(olg::ApplicationIcon::Name());
    parser.process(application);
    if (!parser.positionalArguments().isEmpty())
        return Fail(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst()));

    olg::ExchangeSettings settings;
    const auto given = [&](const QCommandLineOption& option) {
        return parser.isSet(option) ? std::optional<QString>(parser.value(option)) : std::nullopt;
    };
    const QString wrong = settings.TakeEndpointOptions(given(bindOption), given(targetOption));
    if (!wrong.isEmpty())
        return Fail(wrong);
    const bool demo = parser.isSet(demoOption);
    if (demo && (parser.isSet(bindOption) || parser.isSet(targetOption)))
        return Fail(QStringLiteral("--demo chooses its own addresses; leave out --bind and --target"));

    // One instance per user: a second start brings the first one to the front and ends without a word.
    olg::LocalSocketInstance instance(QStringLiteral("olgfinder"));
    if (!instance.Claim())
        return 0;

    olg::WidgetPrompts prompts;
    // Declared before the window, so the simulator outlives the exchange that talks to it.
    olg::SimulatedLan lan;
    if (demo) {
        QString error;
        if (!lan.Start(&error)) {
            prompts.ShowError(QStringLiteral("The simulated LAN could not be started: %1").arg(error));
            return 1;
        }
        settings = lan.Settings();
    }

    olg::TFormMain window(prompts, settings);
    prompts.SetParent(&window);
    olg::FollowActivation(instance, window);

    // The upgrade dialog is created once, right after the main window, and lives hidden until the end.
    window.CreateUpgradeForm();

    window.show();
    if (demo) {
        window.ShowSimulatedLan(lan.DeviceCount());
        // On a real LAN nothing is scanned until the user asks; the demo shows its devices straight away.
        QTimer::singleShot(0, &window, &olg::TFormMain::Scan);
    }
    return QApplication::exec();
}
