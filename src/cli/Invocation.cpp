#include "Invocation.h"

#include <QCommandLineParser>

namespace olg::cli {

std::optional<Invocation> Invocation::Parse(const QStringList& arguments,
                                            const QList<QCommandLineOption>& verbOptions, QString* error) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    const QCommandLineOption demo(QStringLiteral("demo"), {});
    const QCommandLineOption demoReset(QStringLiteral("demo-reset"), {});
    const QCommandLineOption quiet(QStringLiteral("quiet"), {});
    const QCommandLineOption interface(QStringLiteral("interface"), {}, QStringLiteral("NAME"));
    const QCommandLineOption bind(QStringLiteral("bind"), {}, QStringLiteral("ADDR:PORT"));
    const QCommandLineOption target(QStringLiteral("target"), {}, QStringLiteral("ADDR:PORT"));
    parser.addOptions({help, version, demo, demoReset, quiet, interface, bind, target});
    parser.addOptions(verbOptions);

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
    invocation.Quiet = parser.isSet(quiet);
    invocation.Interfaces = parser.values(interface);
    if (invocation.Interfaces.contains(QString())) {
        *error = QStringLiteral("--interface takes a NAME, not an empty text");
        return std::nullopt;
    }
    QList<QCommandLineOption> valued{bind, target};
    valued += verbOptions;
    for (const QCommandLineOption& option : valued) {
        if (!parser.isSet(option))
            continue;
        const QString name = option.names().constFirst();
        QString value;
        if (!option.valueName().isEmpty()) {
            const QStringList values = parser.values(option);
            if (values.size() > 1) {
                *error = QStringLiteral("--%1 is given more than once").arg(name);
                return std::nullopt;
            }
            if (values.constFirst().isEmpty()) {
                *error = QStringLiteral("--%1 takes a %2, not an empty text").arg(name, option.valueName());
                return std::nullopt;
            }
            value = values.constFirst();
        }
        if (name == QLatin1String("bind"))
            invocation.Bind = value;
        else if (name == QLatin1String("target"))
            invocation.Target = value;
        else
            invocation.VerbOptions.emplace_back(name, value);
    }
    return invocation;
}

} // namespace olg::cli
