#include "WatchCommand.h"

#include "DeviceText.h"
#include "ExitCode.h"
#include "MacAddress.h"
#include "ScanLimit.h"
#include "ScanListing.h"
#include "Scanner.h"
#include "SignalWatcher.h"
#include "TerminalText.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <climits>

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl watch [--interval SECONDS] [--format table|jsonl] [--count N]

Scans the LAN every SECONDS (default 30, from 1 to 3600; a scan takes 2.5 s and scans never overlap) and
prints one line per event as soon as a scan ends:
  appeared  a device answered for the first time (every device of the first scan)
  changed   its IP address, name or firmware differs from its previous answer: each with old and new
  offline   it did not answer two scans in a row
  back      it answers again after being offline
Each line is flushed at once. SIGINT or SIGTERM ends the watch with exit code 0, as does the end of N scans.

  --interval SECONDS  time from the start of one scan to the start of the next
  --format FORMAT     table (default): time, event, MAC, IP address, name and what changed;
                      jsonl: one JSON object a line with the fields of "olgctl scan --format json" (the
                      device's latest answer) and "event", "time" (ISO 8601, UTC), for changed "changes"
                      ({"name": {"old": ..., "new": ...}}, keys ip, name, firmware), for offline "lastSeen"
  --count N           stop after N scans
)";

const char* const EventNames[] = {"appeared", "changed", "offline", "back"};
const char* const FieldKeys[] = {"ip", "name", "firmware"};

QString IsoTime(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODate);
}

QString FieldText(const FieldChange& change, const std::string& bytes) {
    return change.What == FieldChange::Field::Address ? QString::fromStdString(bytes)
                                                      : DeviceText::Decode(bytes);
}

// A whole number in [minimum, maximum], or nothing.
std::optional<int> Number(const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum || number > maximum)
        return std::nullopt;
    return number;
}

} // namespace

std::unique_ptr<Command> MakeWatchCommand() {
    return std::make_unique<WatchCommand>();
}

WatchCommand::WatchCommand()
    : Command(QStringLiteral("watch"),
              QStringLiteral("scan again and again and tell which devices appear, change, go and come back"),
              QString::fromUtf8(HelpText),
              {FormatOption(),
               {QStringLiteral("interval"), {}, QStringLiteral("SECONDS")},
               {QStringLiteral("count"), {}, QStringLiteral("N")}}) {}

QString WatchCommand::FormatProblem(const QString& format) const {
    return format == QLatin1String("table") || format == QLatin1String("jsonl")
               ? QString()
               : QStringLiteral("watch's --format takes table or jsonl");
}

int WatchCommand::Run(Session& session) {
    session_ = &session;
    ConsolePrompts& prompts = session.Prompts();
    if (!Words().isEmpty()) {
        prompts.ShowError(QStringLiteral("watch takes no arguments (try olgctl watch --help)"));
        return ExitUsage;
    }
    jsonLines_ = Value(QStringLiteral("format")) == QLatin1String("jsonl");
    const std::optional<QString> intervalText = Value(QStringLiteral("interval"));
    const std::optional<QString> countText = Value(QStringLiteral("count"));
    const std::optional<int> interval =
        intervalText ? Number(*intervalText, MinIntervalSeconds, MaxIntervalSeconds) : DefaultIntervalSeconds;
    const std::optional<int> count = countText ? Number(*countText, 1, INT_MAX) : 0;
    if (!interval || !count) {
        prompts.ShowError(QStringLiteral("--interval takes seconds from %1 to %2, --count a number of scans")
                              .arg(MinIntervalSeconds)
                              .arg(MaxIntervalSeconds));
        return ExitUsage;
    }
    TServeur* serveur = session.Serveur();
    if (!serveur)
        return ExitFailure;

    DeviceList& devices = session.Devices();
    Scanner scanner(*serveur, devices);
    QEventLoop pause;
    QTimer next;
    next.setSingleShot(true);
    QObject::connect(&next, &QTimer::timeout, &pause, &QEventLoop::quit);
    bool stopping = false;
    SignalWatcher termination;
    QObject::connect(&termination, &SignalWatcher::TerminationRequested, &pause, [&] {
        stopping = true;
        scanner.Finish();
        pause.quit();
    });

    for (int scan = 1; !stopping; ++scan) {
        QElapsedTimer started;
        started.start();
        scanner.Run();
        // A scan cut short would make the devices that had not answered yet look gone.
        if (stopping)
            break;
        if (devices.Overflowed())
            prompts.ShowWarning(IgnoredDevicesWarning(devices.Capacity()));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const ScanListing listing(devices);
        for (const WatchEvent& event : watch_.TakeScan(devices.Records(), now.toMSecsSinceEpoch()))
            Print(event, devices, listing, now);
        if (scan == *count)
            break;
        const qint64 wait = *interval * 1000LL - started.elapsed();
        if (wait > 0 && !stopping) {
            next.start(static_cast<int>(wait));
            pause.exec();
        }
    }
    return ExitOk;
}

void WatchCommand::Print(const WatchEvent& event, const DeviceList& scanned, const ScanListing& listing,
                         const QDateTime& time) {
    const WatchedDevice& device = watch_.Devices()[static_cast<std::size_t>(event.Device)];
    const QString name = QLatin1String(EventNames[static_cast<int>(event.What)]);
    QTextStream& out = session_->Out();
    if (!jsonLines_) {
        QStringList changes;
        for (const FieldChange& change : event.Changes)
            changes << QStringLiteral("%1 \"%2\" -> \"%3\"")
                           .arg(QLatin1String(FieldKeys[static_cast<int>(change.What)]),
                                TerminalText(FieldText(change, change.Old)),
                                TerminalText(FieldText(change, change.New)));
        out << QStringLiteral("%1  %2  %3  %4  %5")
                   .arg(IsoTime(time), name.leftJustified(8),
                        QString::fromStdString(FormatMac(".", device.Record.Mac)),
                        QString::fromStdString(device.Record.SenderAddress).leftJustified(15),
                        TerminalText(DeviceText::Decode(device.Record.Value(param::DeviceName).AsText())));
        if (!changes.isEmpty())
            out << QStringLiteral("  (") << changes.join(QStringLiteral(", ")) << QLatin1Char(')');
        out << Qt::endl;
        return;
    }
    // The fields of the scan that just ended where the device answered it, else of its last answer.
    const int listed = event.What == WatchEvent::Kind::Offline ? -1 : scanned.Find(device.Record.Identity);
    const QVariantList row = listed >= 0 ? listing.Row(listed) : ScanListing::RecordRow(device.Record);
    const QList<TableColumn> columns = ScanListing::Columns();
    QJsonObject object;
    for (qsizetype i = 0; i < columns.size(); ++i)
        object.insert(columns[i].JsonKey, QJsonValue::fromVariant(row.value(i)));
    object.insert(QStringLiteral("event"), name);
    object.insert(QStringLiteral("time"), IsoTime(time));
    if (event.What == WatchEvent::Kind::Offline)
        object.insert(QStringLiteral("lastSeen"),
                      IsoTime(QDateTime::fromMSecsSinceEpoch(device.LastSeenMs, Qt::UTC)));
    if (!event.Changes.empty()) {
        QJsonObject changes;
        for (const FieldChange& change : event.Changes)
            changes.insert(QLatin1String(FieldKeys[static_cast<int>(change.What)]),
                           QJsonObject{{QStringLiteral("old"), FieldText(change, change.Old)},
                                       {QStringLiteral("new"), FieldText(change, change.New)}});
        object.insert(QStringLiteral("changes"), changes);
    }
    out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) << Qt::endl;
}

} // namespace olg::cli
