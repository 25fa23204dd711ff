#include "PlanTable.h"

#include "CsvRecords.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <cmath>

namespace olg::cli {

namespace {

// A plan is a table of a few thousand rows at most; anything much larger is some other file.
constexpr qint64 MaxPlanSize = 16 * 1024 * 1024;

} // namespace

bool PlanTable::Read(const QString& path, QStringList* problems) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        problems->append(
            QStringLiteral("cannot read %1: %2")
                .arg(path, QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString()));
        return false;
    }
    if (file.size() > MaxPlanSize) {
        problems->append(QStringLiteral("%1 is larger than a plan can be").arg(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    const bool json =
        path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) ||
        (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) && bytes.trimmed().startsWith('['));
    return Parse(path, bytes, json, problems);
}

bool PlanTable::Parse(const QString& name, const QByteArray& bytes, bool json, QStringList* problems) {
    columns_.clear();
    rows_.clear();
    const qsizetype before = problems->size();
    if (json) {
        ParseJson(name, bytes, problems);
    } else {
        // Spreadsheets write UTF-8, often behind a byte order mark.
        QStringDecoder decoder(QStringDecoder::Utf8);
        decoder.decode(bytes);
        if (decoder.hasError())
            problems->append(QStringLiteral("%1: not UTF-8 text").arg(name));
        else
            ParseCsv(name, bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes, problems);
    }
    return problems->size() == before || !columns_.isEmpty();
}

void PlanTable::ParseCsv(const QString& name, const QByteArray& text, QStringList* problems) {
    const CsvRecords split = CsvRecords::Split(std::string_view(text.constData(), text.size()));
    switch (split.Error) {
    case CsvRecords::Problem::None:
        break;
    case CsvRecords::Problem::QuoteInField:
        problems->append(
            QStringLiteral("%1:%2: a quote in the middle of a field (a quoted field is quoted whole, "
                           "with quotes in it doubled)")
                .arg(name)
                .arg(split.ErrorLine));
        return;
    case CsvRecords::Problem::UnendedQuote:
        problems->append(QStringLiteral("%1:%2: a quoted field does not end").arg(name).arg(split.ErrorLine));
        return;
    }
    const std::vector<CsvRecords::Record>& records = split.Records;
    const auto fields = [](const CsvRecords::Record& record) {
        QStringList cells;
        for (const std::string& field : record.Fields)
            cells.append(QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size())));
        return cells;
    };
    if (records.empty())
        return;
    headerWhere_ = QStringLiteral("%1:%2").arg(name).arg(records.front().Line);
    for (const QString& column : fields(records.front()))
        columns_.append(column.trimmed());
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const QString where = QStringLiteral("%1:%2").arg(name).arg(record->Line);
        if (static_cast<qsizetype>(record->Fields.size()) != columns_.size()) {
            problems->append(QStringLiteral("%1: %2 field(s) where the header has %3")
                                 .arg(where)
                                 .arg(record->Fields.size())
                                 .arg(columns_.size()));
            continue;
        }
        rows_.append(Row{where, fields(*record)});
    }
}

void PlanTable::ParseJson(const QString& name, const QByteArray& bytes, QStringList* problems) {
    headerWhere_ = name;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        problems->append(
            QStringLiteral("%1: at byte %2: %3").arg(name).arg(error.offset).arg(error.errorString()));
        return;
    }
    if (!document.isArray()) {
        problems->append(QStringLiteral("%1: a plan is an array of objects, one per device").arg(name));
        return;
    }
    const QJsonArray objects = document.array();
    // The columns are every key any object has, in the order they first appear.
    for (const QJsonValue& object : objects) {
        for (const QString& key : object.toObject().keys()) {
            if (!columns_.contains(key))
                columns_.append(key);
        }
    }
    for (qsizetype n = 0; n < objects.size(); ++n) {
        const QString where = QStringLiteral("%1: object %2").arg(name).arg(n + 1);
        if (!objects.at(n).isObject()) {
            problems->append(QStringLiteral("%1: not an object").arg(where));
            continue;
        }
        const QJsonObject object = objects.at(n).toObject();
        Row row{where, {}};
        for (const QString& column : std::as_const(columns_)) {
            const QJsonValue value = object.value(column);
            const double number = value.toDouble();
            if (value.isString()) {
                row.Cells.append(value.toString());
            } else if (value.isDouble() && std::trunc(number) == number && std::abs(number) < 1e15) {
                row.Cells.append(QString::number(static_cast<qint64>(number)));
            } else if (value.isNull() || value.isUndefined()) {
                row.Cells.append(QString());
            } else {
                problems->append(QStringLiteral("%1: column \"%2\": a value is a text or a whole number")
                                     .arg(where, column));
                row.Cells.append(QString());
            }
        }
        rows_.append(row);
    }
}

} // namespace olg::cli
