#include "SetupLoader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace olg::sim {

namespace {

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
        "  --config FILE.json     devices and settings from a JSON file (see the README); a --state\n"
        "                         file is one, so a simulated network can be resumed\n"
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
        "  tftp-endless           a get never ends: full blocks of the image over and over\n"
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
        "  --version              the program's version\n"
        "\n"
        "When ready it prints \"olgsim: N devices listening on ADDR:PORT\". SIGINT or SIGTERM ends it.\n");
}

SetupLoader::Outcome SetupLoader::Load(const QStringList& arguments) {
    std::vector<std::string> words;
    for (const QString& argument : arguments.mid(1))
        words.push_back(argument.toStdString());
    switch (parser_.Parse(words, [](const std::string& path, SetupParser& parser) {
        return LoadConfigFile(QString::fromStdString(path), parser);
    })) {
    case SetupParser::Outcome::Run:
        if (parser_.Setup().ScriptPath.empty() ||
            LoadScript(QString::fromStdString(parser_.Setup().ScriptPath)))
            return Outcome::Run;
        break;
    case SetupParser::Outcome::Help:
        message_ = HelpText();
        return Outcome::Help;
    case SetupParser::Outcome::Version:
        message_ = QStringLiteral("olgsim " OLG_VERSION "\n");
        return Outcome::Help;
    case SetupParser::Outcome::Error:
        break;
    }
    message_ = QString::fromStdString(parser_.Message());
    return Outcome::Error;
}

bool SetupLoader::LoadScript(const QString& path) {
    // Far above any script written by hand; a bigger file is a mistake, not a script.
    constexpr qint64 MaxScriptBytes = 16 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return parser_.Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()).toStdString());
    if (file.size() > MaxScriptBytes)
        return parser_.Fail(path.toStdString() + " is too big for a script");
    const QByteArray text = file.readAll();
    std::string error;
    std::optional<DeviceScript> script =
        DeviceScript::Parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), error);
    if (!script)
        return parser_.Fail(path.toStdString() + ": " + error);
    return parser_.SetScript(std::move(*script));
}

bool SetupLoader::AddDevice(const QJsonObject& object, SetupParser& parser) {
    KeyValues pairs;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string key = it.key().toStdString();
        // A state file is a configuration too: what it only reports is skipped, its FTP store is kept by
        // name.
        if (key == "index" || key == "replyAddress" || key == "tftpImage")
            continue;
        if (key == "ftpFiles") {
            QStringList names;
            for (const QJsonValue file : it.value().toArray())
                names << file.toObject().value(QStringLiteral("name")).toString();
            pairs.emplace_back("ftpfiles", names.join(QLatin1Char('+')).toLatin1().toStdString());
        } else if (key == "faults" || key == "params") {
            const QJsonObject inner = it.value().toObject();
            for (auto field = inner.begin(); field != inner.end(); ++field)
                pairs.emplace_back((key == "params" ? "param" : "") + field.key().toStdString(),
                                   JsonText(field.value()));
        } else {
            pairs.emplace_back(key, JsonText(it.value()));
        }
    }
    return parser.AddDevice(pairs, "configuration file device");
}

bool SetupLoader::LoadConfigFile(const QString& path, SetupParser& parser) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return parser.Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()).toStdString());
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject())
        return parser.Fail(
            QStringLiteral("%1 is no JSON object: %2").arg(path, parseError.errorString()).toStdString());
    const QJsonObject root = document.object();
    if (root.contains(QStringLiteral("listen")) &&
        !parser.SetListen(root.value(QStringLiteral("listen")).toString().toStdString()))
        return false;
    if (root.contains(QStringLiteral("replyBase")) &&
        !parser.SetReplyBase(root.value(QStringLiteral("replyBase")).toString().toStdString()))
        return false;
    parser.SetBroadcastReplies(root.value(QStringLiteral("broadcastReplies")).toBool(false));
    parser.SetStatePath(root.value(QStringLiteral("state")).toString().toStdString());
    for (const QJsonValue device : root.value(QStringLiteral("devices")).toArray())
        if (!AddDevice(device.toObject(), parser))
            return false;
    const QJsonValue fleet = root.value(QStringLiteral("fleet"));
    if (fleet.isDouble())
        return parser.AddFleet(fleet.toInt(), 0, {}, {});
    if (fleet.isObject()) {
        const QJsonObject object = fleet.toObject();
        QStringList faults;
        const QJsonObject faultObject = object.value(QStringLiteral("faults")).toObject();
        for (auto it = faultObject.begin(); it != faultObject.end(); ++it)
            faults << it.key() + QLatin1Char('=') + QString::fromStdString(JsonText(it.value()));
        return parser.AddFleet(object.value(QStringLiteral("count")).toInt(),
                               object.value(QStringLiteral("offset")).toInt(),
                               object.value(QStringLiteral("ip")).toString().toStdString(),
                               faults.join(QLatin1Char(',')).toLatin1().toStdString());
    }
    return true;
}

} // namespace olg::sim
