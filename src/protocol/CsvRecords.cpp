#include "CsvRecords.h"

namespace olg {

CsvRecords CsvRecords::Split(std::string_view text) {
    CsvRecords result;
    Record record{1, {}};
    std::string field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field was quoted and has ended
    bool lineEmpty = true;
    int line = 1;
    const auto endField = [&] {
        record.Fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        if (!lineEmpty) {
            endField();
            result.Records.push_back(std::move(record));
        }
        record = Record{line + 1, {}};
        field.clear();
        wasQuoted = false;
        lineEmpty = true;
    };
    const auto fail = [&](Problem problem, int where) {
        CsvRecords failed;
        failed.Error = problem;
        failed.ErrorLine = where;
        return failed;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back(c);
                ++i;
            } else if (c == '"') {
                quoted = false;
                wasQuoted = true;
            } else {
                // A CR LF inside quotes is one line break, as outside.
                if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                    ++line;
                field.push_back(c);
            }
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (c == '\n' || c == '\r') {
            endRecord();
            ++line;
            continue;
        }
        lineEmpty = false;
        if (c == ',') {
            endField();
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = true;
        } else if (wasQuoted || c == '"') {
            return fail(Problem::QuoteInField, line);
        } else {
            field.push_back(c);
        }
    }
    if (quoted)
        return fail(Problem::UnendedQuote, record.Line);
    endRecord();
    return result;
}

} // namespace olg
