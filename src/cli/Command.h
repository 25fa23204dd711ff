#pragma once

#include "ListWriter.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace olg {
struct ExchangeSettings;
}

namespace olg::cli {

class Session;

// One olgctl verb: its name, its line in the tool's help, its own help and options, and the work. The
// registry (Commands) builds the parsing, the checks of who owns an option, the dispatch and --help from
// these.
class Command {
public:
    // help: the text of "olgctl VERB --help" above the options every verb shares.
    Command(QString name, QString summary, QString help, QList<QCommandLineOption> options = {});
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const QString& Name() const { return name_; }
    const QString& Summary() const { return summary_; }
    const QString& Help() const { return help_; }
    const QList<QCommandLineOption>& Options() const { return options_; }
    bool Owns(const QString& option) const;

    // What the command line gives the verb: the words after it and its options (a flag's value is empty).
    void Take(QStringList words, std::vector<std::pair<QString, QString>> options);
    // Takes the verb's options into the exchange settings before the session starts; a usage error, or empty.
    virtual QString Configure(ExchangeSettings& settings);
    // The exit code.
    virtual int Run(Session& session) = 0;

    // --format FORMAT, of the verbs that print a list; the registry checks its value with FormatProblem.
    static QCommandLineOption FormatOption();
    // Why the verb takes no such --format, or empty: by default the list formats table, csv and json.
    virtual QString FormatProblem(const QString& format) const;

    // --jobs N, of the verbs that work on several devices at once; the registry checks its value with
    // JobsProblem.
    static QCommandLineOption JobsOption();
    static constexpr int MaxJobs = 64;
    static QString JobsProblem(const QString& jobs);

protected:
    const QStringList& Words() const { return words_; }
    std::optional<QString> Value(const QString& option) const;
    bool IsSet(const QString& option) const { return Value(option).has_value(); }
    // --format, table when not given.
    OutputFormat Format() const;
    // --jobs, or how many devices are worked on at once when it is not given.
    int Jobs() const;
    // The DEVICE words and the FILE of "VERB DEVICE... FILE"; false, with the usage shown, when one is
    // missing.
    bool DevicesAndFile(Session& session, QStringList* devices, QString* file) const;

private:
    QString name_;
    QString summary_;
    QString help_;
    QList<QCommandLineOption> options_;
    QStringList words_;
    std::vector<std::pair<QString, QString>> values_;
};

} // namespace olg::cli
