#include "VersionBlock.h"

#include <algorithm>
#include <iterator>

namespace olg {

namespace {

// Reads an unsigned number of the file's byte order; false when it lies outside the bytes.
bool ReadNumber(std::span<const std::uint8_t> file, std::uint64_t offset, std::size_t size, bool bigEndian,
                std::uint64_t& value) {
    if (offset > file.size() || size > file.size() - offset)
        return false;
    value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t byte = bigEndian ? i : size - 1 - i;
        value = (value << 8) | file[static_cast<std::size_t>(offset) + byte];
    }
    return true;
}

struct Section {
    std::uint64_t NameOffset = 0;
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
};

} // namespace

std::optional<std::span<const std::uint8_t>> VersionBlock::FindSection(std::span<const std::uint8_t> file,
                                                                       std::string_view name) {
    constexpr std::uint8_t Magic[] = {0x7F, 'E', 'L', 'F'};
    if (file.size() < 16 || !std::equal(std::begin(Magic), std::end(Magic), file.begin()))
        return std::nullopt;
    const bool wide = file[4] == 2;
    const bool bigEndian = file[5] == 2;
    if ((file[4] != 1 && !wide) || (file[5] != 1 && !bigEndian))
        return std::nullopt;
    const std::size_t word = wide ? 8 : 4;

    std::uint64_t tableOffset = 0, entrySize = 0, count = 0, namesIndex = 0;
    if (!ReadNumber(file, wide ? 0x28 : 0x20, word, bigEndian, tableOffset) ||
        !ReadNumber(file, wide ? 0x3A : 0x2E, 2, bigEndian, entrySize) ||
        !ReadNumber(file, wide ? 0x3C : 0x30, 2, bigEndian, count) ||
        !ReadNumber(file, wide ? 0x3E : 0x32, 2, bigEndian, namesIndex))
        return std::nullopt;
    if (entrySize < (wide ? 0x28u : 0x20u) || namesIndex >= count)
        return std::nullopt;

    const auto readSection = [&](std::uint64_t index, Section& section) {
        const std::uint64_t at = tableOffset + index * entrySize;
        return ReadNumber(file, at, 4, bigEndian, section.NameOffset) &&
               ReadNumber(file, at + (wide ? 0x18 : 0x10), word, bigEndian, section.Offset) &&
               ReadNumber(file, at + (wide ? 0x20 : 0x14), word, bigEndian, section.Size);
    };
    Section names;
    if (!readSection(namesIndex, names) || names.Offset > file.size() ||
        names.Size > file.size() - names.Offset)
        return std::nullopt;
    const auto namesText = std::string_view(reinterpret_cast<const char*>(file.data()) + names.Offset,
                                            static_cast<std::size_t>(names.Size));

    for (std::uint64_t index = 0; index < count; ++index) {
        Section section;
        if (!readSection(index, section))
            return std::nullopt;
        if (section.NameOffset >= namesText.size())
            continue;
        const std::string_view sectionName = namesText.substr(static_cast<std::size_t>(section.NameOffset));
        if (sectionName.substr(0, sectionName.find('\0')) != name)
            continue;
        if (section.Offset > file.size() || section.Size > file.size() - section.Offset)
            return std::nullopt;
        return file.subspan(static_cast<std::size_t>(section.Offset), static_cast<std::size_t>(section.Size));
    }
    return std::nullopt;
}

std::optional<std::map<std::string, std::string>> VersionBlock::Parse(std::span<const std::uint8_t> block) {
    const std::string_view text(reinterpret_cast<const char*>(block.data()), block.size());
    std::size_t position = 0;
    // The next NUL-terminated text; false at an empty text or the end of the bytes.
    const auto next = [&](std::string_view& field) {
        const std::size_t end = text.find('\0', position);
        if (end == std::string_view::npos || end == position)
            return false;
        field = text.substr(position, end - position);
        position = end + 1;
        return true;
    };
    std::string_view field;
    if (!next(field) || field != Marker)
        return std::nullopt;
    std::map<std::string, std::string> values;
    std::string_view key;
    while (next(key)) {
        std::string_view value;
        const std::size_t end = text.find('\0', position);
        if (end == std::string_view::npos)
            break;
        value = text.substr(position, end - position);
        position = end + 1;
        values.emplace(key, value);
    }
    return values;
}

std::optional<std::array<std::string, 4>> VersionBlock::SplitFileVersion(std::string_view version) {
    const char separator = version.find('.') != std::string_view::npos   ? '.'
                           : version.find(',') != std::string_view::npos ? ','
                                                                         : '\0';
    if (separator == '\0')
        return std::nullopt;
    std::array<std::string, 4> parts;
    for (std::size_t part = 0; part < 3; ++part) {
        const std::size_t end = version.find(separator);
        if (end == std::string_view::npos) {
            parts[part] = version;
            version = {};
            continue;
        }
        parts[part] = version.substr(0, end);
        version.remove_prefix(end + 1);
    }
    parts[3] = version;
    return parts;
}

} // namespace olg
