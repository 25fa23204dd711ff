// Feeds arbitrary files to the CSV splitter of the provisioning plans. Any read outside the input, undefined
// behaviour or broken invariant aborts: a file either splits or names one problem on a line it has, records
// begin on rising lines within the file, and a field holds no byte the input does not.

#include "CsvRecords.h"
#include "FuzzRequire.h"

#include <algorithm>
#include <cstdlib>

using namespace olg;
using olg::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CsvRecords split = CsvRecords::Split(text);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                           std::count(text.begin(), text.end(), '\r'));
    if (split.Error != CsvRecords::Problem::None) {
        Require(split.Records.empty() && split.ErrorLine >= 1 && split.ErrorLine <= lines);
        return 0;
    }
    int previous = 0;
    std::size_t bytes = 0;
    for (const CsvRecords::Record& record : split.Records) {
        Require(record.Line > previous && record.Line <= lines && !record.Fields.empty());
        previous = record.Line;
        for (const std::string& field : record.Fields)
            bytes += field.size();
    }
    Require(bytes <= size);
    return 0;
}
