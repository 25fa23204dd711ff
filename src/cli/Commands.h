#pragma once

#include "Command.h"

#include <memory>
#include <vector>

namespace olg::cli {

// The registry of olgctl's verbs, in the order of the tool's help.
class Commands {
public:
    Commands();

    // Null for an unknown verb.
    Command* Find(const QString& name) const;
    // The verbs' own options, each once, in the order the verbs declare them.
    const QList<QCommandLineOption>& Options() const { return options_; }
    // "olgctl --help" above the options every verb shares.
    QString ToolHelp() const;
    // The usage error when verb is given an option it does not own, else empty: "--all belongs to write".
    QString Misplaced(const Command& verb, const QString& option) const;

private:
    QString Owners(const QString& option) const;

    std::vector<std::unique_ptr<Command>> verbs_;
    QList<QCommandLineOption> options_;
};

} // namespace olg::cli
