#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olg {

// The MAC log: a fixed-column text file, one line per labelled device, lines ending in CR LF. Texts are
// bytes (the devices' Windows-1252), one byte per column.
class MacLog {
public:
    static constexpr std::string_view Header =
        "Adresse MAC       | Date                | Type                             | FirmWare ";
    static constexpr std::size_t HyphenCount = 86;
    static constexpr std::size_t EntryWidth = 87;
    static constexpr std::string_view DuplicateWarning = "MAC Address already in use!";

    struct Entry {
        std::string MacText;  // "00-0A-95-9D-68-16"
        std::string DateTime; // date, space, time in the user's format
        std::string Model;    // parameter 5
        std::string Firmware; // parameter 12
    };

    // The entry line: 87 spaces, the fields written over them from columns 1, 19, 41 and 76, each cutting
    // off what the one before wrote past its column; the last may make the line longer.
    static std::string EntryLine(const Entry& entry);

    // The lines of a file's bytes: CR LF, LF or CR end a line; a final line end adds no empty line.
    static std::vector<std::string> SplitLines(std::string_view bytes);
    static std::string JoinLines(const std::vector<std::string>& lines);

    // Adds the entry to the lines of the log, with the two header lines first when there are none. False,
    // with the lines untouched, when a line already begins with the MAC text.
    static bool Append(std::vector<std::string>& lines, const Entry& entry);
};

} // namespace olg
