#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace olg::cli {

// An olgctl command line taken apart. Options may stand before or after the verb.
struct Invocation {
    QString Verb;          // empty when none was given
    QStringList Arguments; // the words after the verb
    bool Help = false;
    bool Version = false;
    bool Demo = false;      // also set by --demo-reset
    bool DemoReset = false; // the simulated LAN starts afresh instead of as the last run left it
    bool Quiet = false;
    // The interfaces the LAN broadcast is limited to, in the order given.
    QStringList Interfaces;
    std::optional<QString> Bind;
    std::optional<QString> Target;
    // The verbs' options that were given, by name in the order of verbOptions; a flag's value is empty.
    std::vector<std::pair<QString, QString>> VerbOptions;

    // The arguments without the program name and the options of every verb; nothing with the reason in *error
    // when an option is unknown or lacks its value.
    static std::optional<Invocation> Parse(const QStringList& arguments,
                                           const QList<QCommandLineOption>& verbOptions, QString* error);
};

} // namespace olg::cli
