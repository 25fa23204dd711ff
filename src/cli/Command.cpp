#include "Command.h"

#include "ParallelJobs.h"
#include "Session.h"

#include <algorithm>

namespace olg::cli {

Command::Command(QString name, QString summary, QString help, QList<QCommandLineOption> options)
    : name_(std::move(name)), summary_(std::move(summary)), help_(std::move(help)),
      options_(std::move(options)) {}

bool Command::Owns(const QString& option) const {
    return std::any_of(options_.cbegin(), options_.cend(),
                       [&](const QCommandLineOption& own) { return own.names().contains(option); });
}

void Command::Take(QStringList words, std::vector<std::pair<QString, QString>> options) {
    words_ = std::move(words);
    values_ = std::move(options);
}

QString Command::Configure(ExchangeSettings&) {
    return {};
}

QCommandLineOption Command::FormatOption() {
    return {QStringLiteral("format"), {}, QStringLiteral("FORMAT")};
}

QString Command::FormatProblem(const QString& format) const {
    return ParseOutputFormat(format) ? QString() : QStringLiteral("--format takes table, csv or json");
}

QCommandLineOption Command::JobsOption() {
    return {QStringLiteral("jobs"), {}, QStringLiteral("N")};
}

QString Command::JobsProblem(const QString& jobs) {
    bool ok = false;
    const int count = jobs.toInt(&ok);
    return ok && count >= 1 && count <= MaxJobs
               ? QString()
               : QStringLiteral("--jobs takes a number from 1 to %1, not \"%2\"").arg(MaxJobs).arg(jobs);
}

int Command::Jobs() const {
    const std::optional<QString> jobs = Value(JobsOption().names().constFirst());
    return jobs ? jobs->toInt() : ParallelJobs::DefaultJobs;
}

std::optional<QString> Command::Value(const QString& option) const {
    for (const auto& [name, value] : values_) {
        if (name == option)
            return value;
    }
    return std::nullopt;
}

OutputFormat Command::Format() const {
    return ParseOutputFormat(Value(QStringLiteral("format")).value_or(QStringLiteral("table"))).value();
}

bool Command::DevicesAndFile(Session& session, QStringList* devices, QString* file) const {
    if (words_.size() < 2) {
        session.Prompts().ShowError(
            QStringLiteral("%1 takes a DEVICE and a FILE (try olgctl %1 --help)").arg(name_));
        return false;
    }
    *file = words_.back();
    *devices = words_.mid(0, words_.size() - 1);
    return true;
}

} // namespace olg::cli
