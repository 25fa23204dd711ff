#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olg {

// CSV text split into records by RFC 4180: fields quoted with '"' may hold commas, line breaks and doubled
// quotes; a record ends at LF, CR LF or CR outside quotes; lines that are wholly empty are skipped. Works on
// bytes, so UTF-8 text splits right (no byte of a multi-byte character is an ASCII one).
struct CsvRecords {
    struct Record {
        int Line = 0; // where it begins, from 1
        std::vector<std::string> Fields;
    };
    enum class Problem { None, QuoteInField, UnendedQuote };

    std::vector<Record> Records;
    // The first problem met and its line; the records are then empty.
    Problem Error = Problem::None;
    int ErrorLine = 0;

    static CsvRecords Split(std::string_view text);
};

} // namespace olg
