// olgsim: a network of simulated devices answering the Finder's UDP protocol.
#include "CommandReader.h"
#include "DeviceServer.h"
#include "SetupLoader.h"
#include "SignalWatcher.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const olg::DeviceRegistry registry = olg::StandardRegistry();

    olg::sim::SetupLoader loader(registry);
    switch (loader.Load(QCoreApplication::arguments())) {
    case olg::sim::SetupLoader::Outcome::Help:
        std::fputs(qPrintable(loader.Message()), stdout);
        return 0;
    case olg::sim::SetupLoader::Outcome::Error:
        std::fprintf(stderr, "olgsim: %s\nTry olgsim --help.\n", qPrintable(loader.Message()));
        return 2;
    case olg::sim::SetupLoader::Outcome::Run:
        break;
    }

    olg::SignalWatcher termination;
    QObject::connect(&termination, &olg::SignalWatcher::TerminationRequested, &app, &QCoreApplication::quit);

    olg::sim::DeviceServer server(loader.Setup(), registry);
    if (!server.Start()) {
        std::fprintf(stderr, "olgsim: %s\n", qPrintable(server.ErrorText()));
        return 1;
    }
    if (loader.Setup().CommandsOnStdin) {
        auto* commands = new olg::sim::CommandReader(&server);
        QObject::connect(commands, &olg::sim::CommandReader::ActionRead, &server,
                         [&server](const olg::DeviceAction& action) {
                             QString error;
                             if (!server.Apply(action, &error))
                                 std::fprintf(stderr, "olgsim: %s\n", qPrintable(error));
                         });
    }
    // Tests and the demo wait for this line before they send anything.
    std::printf("olgsim: %zu devices listening on %s\n", server.Devices().size(),
                qPrintable(server.ListenText()));
    std::fflush(stdout);
    return app.exec();
}
