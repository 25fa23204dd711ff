#include "Invocation.h"

#include <QCommandLineParser>

namespace olg::cli {

std::optional<Invocation> Invocation::Parse(const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    const QCommandLineOption demo(QStringLiteral("demo"), {});
    const QCommandLineOption all(QStringLiteral("all"), {});
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), {});
    const QCommandLineOption yes(QStringLiteral("yes"), {});
    const QCommandLineOption quiet(QStringLiteral("quiet"), {});
    const QCommandLineOption demoReset(QStringLiteral("demo-reset"), {});
    const QCommandLineOption showPasswords(QStringLiteral("show-passwords"), {});
    const QCommandLineOption withAddress(QStringLiteral("with-address"), {});
    const QCommandLineOption interface(QStringLiteral("interface"), {}, QStringLiteral("NAME"));
    const QCommandLineOption bind(QStringLiteral("bind"), {}, QStringLiteral("ADDR:PORT"));
    const QCommandLineOption target(QStringLiteral("target"), {}, QStringLiteral("ADDR:PORT"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("FORMAT"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("FILE"));
    const QCommandLineOption png(QStringLiteral("png"), {}, QStringLiteral("FILE"));
    const QCommandLineOption log(QStringLiteral("log"), {}, QStringLiteral("FILE"));
    const QCommandLineOption tftpPort(QStringLiteral("tftp-port"), {}, QStringLiteral("PORT"));
    const QCommandLineOption ftpPort(QStringLiteral("ftp-port"), {}, QStringLiteral("PORT"));
    parser.addOptions({help, version, demo, all, dryRun, yes, quiet, interface, bind, target, format, pdf,
                       png, log, tftpPort, ftpPort, demoReset, showPasswords, withAddress});

    // QCommandLineParser skips the first word as the program name.
    if (!parser.parse(QStringList{QStringLiteral("olgctl")} + arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    Invocation invocation;
    QStringList words = parser.positionalArguments();
    if (!words.isEmpty())
        invocation.Verb = words.takeFirst();
    // An empty word, an unset shell variable say, would name a device or file by accident after a whole
    // scan: it is refused before anything is sent.
    for (const QString& word : words) {
        if (word.isEmpty() || word == QLatin1String("type=")) {
            *error = word.isEmpty() ? QStringLiteral("an argument is empty")
                                    : QStringLiteral("type= names no model");
            return std::nullopt;
        }
    }
    invocation.Arguments = words;
    invocation.Help = parser.isSet(help);
    invocation.Version = parser.isSet(version);
    invocation.DemoReset = parser.isSet(demoReset);
    invocation.Demo = parser.isSet(demo) || invocation.DemoReset;
    invocation.ShowPasswords = parser.isSet(showPasswords);
    invocation.WithAddress = parser.isSet(withAddress);
    invocation.All = parser.isSet(all);
    invocation.DryRun = parser.isSet(dryRun);
    invocation.Yes = parser.isSet(yes);
    invocation.Quiet = parser.isSet(quiet);
    invocation.Interfaces = parser.values(interface);
    if (invocation.Interfaces.contains(QString())) {
        *error = QStringLiteral("--interface takes a NAME, not an empty text");
        return std::nullopt;
    }
    for (const auto& [option, field] :
         {std::pair{&bind, &invocation.Bind}, std::pair{&target, &invocation.Target},
          std::pair{&format, &invocation.Format}, std::pair{&pdf, &invocation.Pdf},
          std::pair{&png, &invocation.Png}, std::pair{&log, &invocation.Log},
          std::pair{&tftpPort, &invocation.TftpPort}, std::pair{&ftpPort, &invocation.FtpPort}}) {
        if (parser.isSet(*option)) {
            const QStringList values = parser.values(*option);
            if (values.size() > 1) {
                *error = QStringLiteral("--%1 is given more than once").arg(option->names().constFirst());
                return std::nullopt;
            }
            if (values.constFirst().isEmpty()) {
                *error = QStringLiteral("--%1 takes a %2, not an empty text")
                             .arg(option->names().constFirst(), option->valueName());
                return std::nullopt;
            }
            *field = values.constFirst();
        }
    }
    return invocation;
}

} // namespace olg::cli
