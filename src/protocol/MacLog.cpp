#include "MacLog.h"

namespace olg {

namespace {

constexpr std::size_t DateColumn = 18;
constexpr std::size_t ModelColumn = 40;
constexpr std::size_t FirmwareColumn = 75;

void WriteAt(std::string& line, std::size_t column, std::string_view text) {
    if (line.size() < column + text.size())
        line.resize(column + text.size(), ' ');
    line.replace(column, text.size(), text);
}

} // namespace

std::string MacLog::EntryLine(const Entry& entry) {
    std::string line(EntryWidth, ' ');
    WriteAt(line, 0, entry.MacText);
    WriteAt(line, DateColumn, "| " + entry.DateTime);
    WriteAt(line, ModelColumn, "| " + entry.Model);
    WriteAt(line, FirmwareColumn, "| v" + entry.Firmware);
    return line;
}

std::vector<std::string> MacLog::SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string MacLog::JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

bool MacLog::Append(std::vector<std::string>& lines, const Entry& entry) {
    for (const std::string& line : lines)
        if (line.starts_with(entry.MacText))
            return false;
    if (lines.empty()) {
        lines.emplace_back(Header);
        lines.emplace_back(HyphenCount, '-');
    }
    lines.push_back(EntryLine(entry));
    return true;
}

} // namespace olg
