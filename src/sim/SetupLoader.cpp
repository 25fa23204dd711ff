#include "SetupLoader.h"

#include "DeviceSpecParser.h"
#include "FleetGenerator.h"

#include "IpText.h"
#include "MacAddress.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace olg::sim {

namespace {

constexpr quint32 LoopbackNetwork = 0x7F000000u;
constexpr quint32 LoopbackLast = 0x7FFFFFFEu;   // 127.255.255.255 is the loopback net's broadcast
constexpr quint32 DefaultFirstIp = 0xC0A80164u; // 192.168.1.100

// JSON values as the text a --device key would carry. Texts keep their characters as bytes 0..255.
std::string JsonText(const QJsonValue& value) {
    if (value.isBool())
        return value.toBool() ? "1" : "0";
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number == static_cast<double>(static_cast<qint64>(number)))
            return std::to_string(static_cast<qint64>(number));
        return QString::number(number, 'g', 17).toStdString();
    }
    return value.toString().toLatin1().toStdString();
}

bool IsLoopback(quint32 address) {
    return (address & 0xFF000000u) == LoopbackNetwork;
}

} // namespace

QString SetupLoader::HelpText() {
    return QStringLiteral(
        "Usage: olgsim [options]\n"
        "Simulates a network of eOutletGuard devices answering the Finder's UDP protocol.\n"
        "\n"
        "Devices (in answering order: configuration file, --device, --fleet):\n"
        "  --device KEYS          one device; repeatable. KEYS is key=value pairs joined by commas:\n"
        "                           type=0x08000100   type code (any number; unregistered ones allowed)\n"
        "                           mac=00-0A-95-9D-68-16   required, '-', ':' or no separators\n"
        "                           ip=192.168.1.10   address (default: its answering address on\n"
        "                                             loopback, else 192.168.1.100 and up)\n"
        "                           fw=1.2.0.0        firmware version text (parameter 12)\n"
        "                           name=TEXT         device name (parameter 7)\n"
        "                           model=TEXT        model name (parameter 5; default from the type)\n"
        "                           upgrade=tftp|ftp|none   answer to the upgrade requests\n"
        "                           paramID=VALUE     any parameter's value, e.g. param8=root\n"
        "                           ftpfiles=A+B      files on its FTP store at start\n"
        "                         and the fault switches below.\n"
        "  --fleet N              N generated devices cycling through the eleven type codes\n"
        "  --fleet-offset K       number the generated devices from K (MACs, names, models)\n"
        "  --fleet-ip ADDR        address of the first generated device\n"
        "  --fleet-faults LIST    fault switches for every generated device, e.g. delay=100,drop=0.2\n"
        "  --config FILE.json     devices and settings from a JSON file (see the README)\n"
        "\n"
        "Fault switches (per device):\n"
        "  noanswer               acts on requests but never answers\n"
        "  delay=MS               answers MS milliseconds late\n"
        "  drop=SHARE             loses that share (0..1) of requests\n"
        "  garbled                random bytes after the identities\n"
        "  truncated              replies cut at a random length\n"
        "  wronglengths           item lengths off by one\n"
        "  nonmac                 source identity 00 02 + address instead of 00 01 + MAC\n"
        "  nowrites               answers discovery and reads, ignores writes\n"
        "  tftp-nolastack         stores a put but never acknowledges its last block\n"
        "  tftp-error             answers every TFTP request with an error packet\n"
        "  tftp-silent            never answers TFTP\n"
        "  tftp-corrupt           a get returns the image with one byte changed\n"
        "  ftp-badlogin           refuses the FTP login\n"
        "  ftp-storefail          every FTP store fails with 451\n"
        "  ftp-silent             accepts FTP connections but never answers\n"
        "The upgrade services of a device open at its first upgrade request.\n"
        "\n"
        "Network:\n"
        "  --listen ADDR:PORT     where requests are received (default 0.0.0.0:52389; port 0 = any free)\n"
        "  --reply-base ADDR      loopback mode: device i answers from ADDR + i (inside 127.0.0.0/8)\n"
        "  --broadcast-replies    real mode: answer to 255.255.255.255 instead of the requester\n"
        "  --tftp-port PORT       where each device serves TFTP on its own address (default 69)\n"
        "  --ftp-port PORT        where each device serves FTP on its own address (default 21)\n"
        "  --state FILE           write every device's parameters, its TFTP image's size and checksum and\n"
        "                         its FTP file names as JSON at start and after each change\n"
        "\n"
        "Changes while running:\n"
        "  --script FILE          timed actions, one a line, times in seconds from the first request:\n"
        "                           2.5 silent MAC     the device stops answering (as if unplugged)\n"
        "                           9 answer MAC       it answers again\n"
        "                           12 set MAC KEYS    name=, ip=, fw=, paramID= joined by commas\n"
        "                           repeat 60          start over every 60 seconds\n"
        "  --commands             read the same actions, without a time, from standard input\n"
        "  --help                 this text\n"
        "\n"
        "When ready it prints \"olgsim: N devices listening on ADDR:PORT\". SIGINT or SIGTERM ends it.\n");
}

bool SetupLoader::Fail(const QString& message) {
    message_ = message;
    return false;
}

SetupLoader::Outcome SetupLoader::Load(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption device(QStringLiteral("device"), QString(), QStringLiteral("keys"));
    const QCommandLineOption fleet(QStringLiteral("fleet"), QString(), QStringLiteral("n"));
    const QCommandLineOption fleetOffset(QStringLiteral("fleet-offset"), QString(), QStringLiteral("k"));
    const QCommandLineOption fleetIp(QStringLiteral("fleet-ip"), QString(), QStringLiteral("addr"));
    const QCommandLineOption fleetFaults(QStringLiteral("fleet-faults"), QString(), QStringLiteral("list"));
    const QCommandLineOption config(QStringLiteral("config"), QString(), QStringLiteral("file"));
    const QCommandLineOption state(QStringLiteral("state"), QString(), QStringLiteral("file"));
    const QCommandLineOption listen(QStringLiteral("listen"), QString(), QStringLiteral("addr"));
    const QCommandLineOption replyBase(QStringLiteral("reply-base"), QString(), QStringLiteral("addr"));
    const QCommandLineOption broadcast(QStringLiteral("broadcast-replies"));
    const QCommandLineOption tftpPort(QStringLiteral("tftp-port"), QString(), QStringLiteral("port"));
    const QCommandLineOption ftpPort(QStringLiteral("ftp-port"), QString(), QStringLiteral("port"));
    const QCommandLineOption script(QStringLiteral("script"), QString(), QStringLiteral("file"));
    const QCommandLineOption commands(QStringLiteral("commands"));
    parser.addOptions({help, device, fleet, fleetOffset, fleetIp, fleetFaults, config, state, listen,
                       replyBase, broadcast, tftpPort, ftpPort, script, commands});
    if (!parser.parse(arguments)) {
        message_ = parser.errorText();
        return Outcome::Error;
    }
    if (parser.isSet(help)) {
        message_ = HelpText();
        return Outcome::Help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message_ = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return Outcome::Error;
    }

    bool ok = !parser.isSet(config) || LoadConfigFile(parser.value(config));
    for (const QString& keys : parser.values(device)) {
        if (!ok)
            break;
        DeviceConfig deviceConfig;
        deviceConfig.Serial = static_cast<int>(setup_.Devices.size());
        std::string error;
        if (!DeviceSpecParser::Parse(DeviceSpecParser::Split(keys.toLatin1().toStdString()), deviceConfig,
                                     error))
            ok = Fail(QStringLiteral("--device %1: %2").arg(keys, QString::fromStdString(error)));
        else
            setup_.Devices.push_back(std::move(deviceConfig));
    }
    if (ok && parser.isSet(fleet)) {
        bool countOk = false;
        bool offsetOk = true;
        const int count = parser.value(fleet).toInt(&countOk);
        const int offset = parser.isSet(fleetOffset) ? parser.value(fleetOffset).toInt(&offsetOk) : 0;
        if (!countOk || count < 0 || count > 100000 || !offsetOk || offset < 0)
            ok = Fail(QStringLiteral("--fleet and --fleet-offset take a count"));
        else
            ok = AddFleet(count, offset, parser.value(fleetIp), parser.value(fleetFaults));
    }
    if (ok && parser.isSet(listen))
        ok = SetListen(parser.value(listen));
    if (ok && parser.isSet(replyBase))
        ok = SetReplyBase(parser.value(replyBase));
    if (parser.isSet(broadcast))
        setup_.BroadcastReplies = true;
    if (parser.isSet(state))
        setup_.StatePath = parser.value(state);
    for (const auto& [option, port] :
         {std::pair{&tftpPort, &setup_.TftpPort}, std::pair{&ftpPort, &setup_.FtpPort}}) {
        if (!ok || !parser.isSet(*option))
            continue;
        bool portOk = false;
        const uint value = parser.value(*option).toUInt(&portOk);
        if (!portOk || value == 0 || value > 65535)
            ok = Fail(QStringLiteral("--%1 takes a port from 1 to 65535").arg(option->names().constFirst()));
        else
            *port = static_cast<quint16>(value);
    }
    if (ok && setup_.BroadcastReplies && setup_.ReplyBase)
        ok = Fail(
            QStringLiteral("--broadcast-replies is for real mode; loopback mode answers each requester"));
    if (ok)
        ok = ResolveAddresses();
    if (ok && parser.isSet(script))
        ok = LoadScript(parser.value(script)) && CheckScript();
    setup_.CommandsOnStdin = parser.isSet(commands);
    return ok ? Outcome::Run : Outcome::Error;
}

bool SetupLoader::SetListen(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon < 0 ? 0 : text.mid(colon + 1).toUInt(&portOk);
    const QHostAddress address(text.left(colon));
    if (colon < 0 || !portOk || port > 65535 || address.protocol() != QAbstractSocket::IPv4Protocol)
        return Fail(QStringLiteral("--listen needs ADDR:PORT with an IPv4 address: ") + text);
    setup_.ListenAddress = address;
    setup_.ListenPort = static_cast<quint16>(port);
    return true;
}

bool SetupLoader::SetReplyBase(const QString& text) {
    const QHostAddress address(text);
    if (address.protocol() != QAbstractSocket::IPv4Protocol || !IsLoopback(address.toIPv4Address()))
        return Fail(QStringLiteral("--reply-base must be an address in 127.0.0.0/8: ") + text);
    setup_.ReplyBase = address.toIPv4Address();
    return true;
}

bool SetupLoader::AddFleet(int count, int first, const QString& firstIp, const QString& faults) {
    std::optional<std::uint32_t> ip;
    if (!firstIp.isEmpty()) {
        const QHostAddress address(firstIp);
        if (address.protocol() != QAbstractSocket::IPv4Protocol)
            return Fail(QStringLiteral("bad fleet address: ") + firstIp);
        ip = address.toIPv4Address();
    }
    DeviceFaults fleetFaults;
    for (const auto& [key, value] : DeviceSpecParser::Split(faults.toLatin1().toStdString())) {
        std::string error;
        bool known = false;
        if (!DeviceSpecParser::ParseFault(key, value, fleetFaults, error, known))
            return Fail(QStringLiteral("fleet faults: ") +
                        QString::fromStdString(known ? error : "unknown fault switch " + key));
    }
    const auto generated = FleetGenerator::Generate(count, first, ip, fleetFaults, registry_);
    setup_.Devices.insert(setup_.Devices.end(), generated.begin(), generated.end());
    return true;
}

bool SetupLoader::AddDevice(const QJsonObject& object) {
    KeyValues pairs;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string key = it.key().toStdString();
        if (key == "faults" || key == "params") {
            const QJsonObject inner = it.value().toObject();
            for (auto field = inner.begin(); field != inner.end(); ++field)
                pairs.emplace_back((key == "params" ? "param" : "") + field.key().toStdString(),
                                   JsonText(field.value()));
        } else {
            pairs.emplace_back(key, JsonText(it.value()));
        }
    }
    DeviceConfig config;
    config.Serial = static_cast<int>(setup_.Devices.size());
    std::string error;
    if (!DeviceSpecParser::Parse(pairs, config, error))
        return Fail(QStringLiteral("configuration file device: ") + QString::fromStdString(error));
    setup_.Devices.push_back(std::move(config));
    return true;
}

bool SetupLoader::LoadConfigFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject())
        return Fail(QStringLiteral("%1 is no JSON object: %2").arg(path, parseError.errorString()));
    const QJsonObject root = document.object();
    if (root.contains(QStringLiteral("listen")) &&
        !SetListen(root.value(QStringLiteral("listen")).toString()))
        return false;
    if (root.contains(QStringLiteral("replyBase")) &&
        !SetReplyBase(root.value(QStringLiteral("replyBase")).toString()))
        return false;
    setup_.BroadcastReplies = root.value(QStringLiteral("broadcastReplies")).toBool(false);
    setup_.StatePath = root.value(QStringLiteral("state")).toString();
    for (const QJsonValue device : root.value(QStringLiteral("devices")).toArray())
        if (!AddDevice(device.toObject()))
            return false;
    const QJsonValue fleet = root.value(QStringLiteral("fleet"));
    if (fleet.isDouble())
        return AddFleet(fleet.toInt(), 0, QString(), QString());
    if (fleet.isObject()) {
        const QJsonObject object = fleet.toObject();
        QStringList faults;
        const QJsonObject faultObject = object.value(QStringLiteral("faults")).toObject();
        for (auto it = faultObject.begin(); it != faultObject.end(); ++it)
            faults << it.key() + QLatin1Char('=') + QString::fromStdString(JsonText(it.value()));
        return AddFleet(object.value(QStringLiteral("count")).toInt(),
                        object.value(QStringLiteral("offset")).toInt(),
                        object.value(QStringLiteral("ip")).toString(), faults.join(QLatin1Char(',')));
    }
    return true;
}

bool SetupLoader::LoadScript(const QString& path) {
    // Far above any script written by hand; a bigger file is a mistake, not a script.
    constexpr qint64 MaxScriptBytes = 16 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    if (file.size() > MaxScriptBytes)
        return Fail(QStringLiteral("%1 is too big for a script").arg(path));
    const QByteArray text = file.readAll();
    std::string error;
    setup_.Script =
        DeviceScript::Parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), error);
    if (!setup_.Script)
        return Fail(QStringLiteral("%1: %2").arg(path, QString::fromStdString(error)));
    return true;
}

bool SetupLoader::CheckScript() {
    for (const DeviceAction& action : setup_.Script->Actions) {
        const auto named = [&action](const DeviceConfig& device) { return device.Mac == action.Mac; };
        if (std::none_of(setup_.Devices.begin(), setup_.Devices.end(), named))
            return Fail(QStringLiteral("script line %1: no device has the MAC %2")
                            .arg(action.Line)
                            .arg(QString::fromStdString(FormatMac("-", action.Mac))));
        for (const auto& [key, value] : action.Settings)
            if (key == "ip" && setup_.ReplyBase && !IsLoopback(TextToIp(value)))
                return Fail(QStringLiteral("script line %1: on loopback a device's address stays in "
                                           "127.0.0.0/8")
                                .arg(action.Line));
    }
    return true;
}

bool SetupLoader::ResolveAddresses() {
    const auto count = static_cast<quint32>(setup_.Devices.size());
    if (setup_.ReplyBase && count > 0 && LoopbackLast - *setup_.ReplyBase < count - 1)
        return Fail(QStringLiteral("%1 devices do not fit between --reply-base %2 and 127.255.255.254")
                        .arg(count)
                        .arg(QString::fromStdString(IpToText(*setup_.ReplyBase))));
    for (quint32 i = 0; i < count; ++i) {
        DeviceConfig& config = setup_.Devices[i];
        if (config.Ip)
            continue;
        // On loopback a device lives at its answering address, so its pages and upgrade services are
        // reached there too.
        config.Ip = setup_.ReplyBase ? *setup_.ReplyBase + i
                                     : FleetGenerator::NthHostAddress(DefaultFirstIp, static_cast<int>(i));
    }
    return true;
}

} // namespace olg::sim
