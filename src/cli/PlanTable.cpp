#include "PlanTable.h"

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

// One CSV record: its fields and the line it begins on.
struct Record {
    int Line = 0;
    QStringList Fields;
};

// Splits CSV text into records by RFC 4180: fields quoted with '"' may hold commas, line breaks and
// doubled quotes. Lines that are wholly empty are skipped.
QList<Record> SplitCsv(const QString& name, const QString& text, QStringList* problems) {
    QList<Record> records;
    Record record;
    QString field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field was quoted and has ended
    bool lineEmpty = true;
    int line = 1;
    record.Line = 1;
    const auto endField = [&] {
        record.Fields.append(field);
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        if (!lineEmpty) {
            endField();
            records.append(record);
        }
        record = Record{line + 1, {}};
        field.clear();
        wasQuoted = false;
        lineEmpty = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field.append(c);
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
                wasQuoted = true;
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field.append(c);
            }
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue;
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            endRecord();
            ++line;
            continue;
        }
        lineEmpty = false;
        if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = true;
        } else if (wasQuoted || c == QLatin1Char('"')) {
            problems->append(QStringLiteral("%1:%2: a quote in the middle of a field (a quoted field is "
                                            "quoted whole, with quotes in it doubled)")
                                 .arg(name)
                                 .arg(line));
            return {};
        } else {
            field.append(c);
        }
    }
    if (quoted) {
        problems->append(QStringLiteral("%1:%2: a quoted field does not end").arg(name).arg(record.Line));
        return {};
    }
    endRecord();
    return records;
}

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
        QStringDecoder decoder(QStringDecoder::Utf8); // which drops a leading byte order mark
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            problems->append(QStringLiteral("%1: not UTF-8 text").arg(name));
        else
            ParseCsv(name, text, problems);
    }
    return problems->size() == before || !columns_.isEmpty();
}

void PlanTable::ParseCsv(const QString& name, const QString& text, QStringList* problems) {
    const QList<Record> records = SplitCsv(name, text, problems);
    if (records.isEmpty())
        return;
    headerWhere_ = QStringLiteral("%1:%2").arg(name).arg(records.front().Line);
    for (const QString& column : records.front().Fields)
        columns_.append(column.trimmed());
    for (const Record& record : records.mid(1)) {
        const QString where = QStringLiteral("%1:%2").arg(name).arg(record.Line);
        if (record.Fields.size() != columns_.size()) {
            problems->append(QStringLiteral("%1: %2 field(s) where the header has %3")
                                 .arg(where)
                                 .arg(record.Fields.size())
                                 .arg(columns_.size()));
            continue;
        }
        rows_.append(Row{where, record.Fields});
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
