#include "ProfileFile.h"

#include <algorithm>

namespace olg {

namespace {

// The blanks the Windows functions skip around names and values; Ctrl-Z is one of them.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Case folding of Windows-1252: ASCII letters, the accented letters and the four pairs of the 0x80 row.
unsigned char Fold(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<unsigned char>(byte + 0x20);
    switch (byte) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<unsigned char>(byte + 0x10);
    case 0x9F:
        return 0xFF;
    default:
        return byte;
    }
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool Quoted(std::string_view text, char quote) {
    return text.size() >= 2 && text.front() == quote && text.back() == quote;
}

} // namespace

ProfileFile::ProfileFile(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.push_back(Parse(std::string(line)));
    }
}

ProfileFile::Line ProfileFile::Parse(std::string text) {
    Line line;
    line.Text = std::move(text);
    const std::string_view trimmed = Trim(line.Text);
    if (trimmed.empty())
        return line;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            line.Kind = LineKind::Section;
            line.Name = Trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    // Any other line is a key, with an empty value when it has no "=": comments are keys nobody asks for.
    line.Kind = LineKind::Key;
    const std::size_t equals = trimmed.find('=');
    line.Name = Trim(trimmed.substr(0, equals));
    if (equals != std::string_view::npos)
        line.Value = Trim(trimmed.substr(equals + 1));
    return line;
}

int ProfileFile::FindSection(std::string_view section) const {
    section = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].Kind == LineKind::Section && SameName(lines_[i].Name, section))
            return static_cast<int>(i);
    }
    return -1;
}

int ProfileFile::FindKey(int sectionLine, std::string_view key) const {
    key = Trim(key);
    for (auto i = static_cast<std::size_t>(sectionLine) + 1; i < lines_.size(); ++i) {
        if (lines_[i].Kind == LineKind::Section)
            break;
        if (lines_[i].Kind == LineKind::Key && SameName(lines_[i].Name, key))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> ProfileFile::ReadString(std::string_view section, std::string_view key) const {
    const int sectionLine = FindSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const int keyLine = FindKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    return UnquoteValue(lines_[static_cast<std::size_t>(keyLine)].Value);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // A key with "=" would read back as another key, one in brackets as a section.
    if (!CanHold(section) || !CanHold(key) || !CanHold(value) || key.find('=') != std::string_view::npos ||
        Trim(key).starts_with('['))
        return false;
    const std::string name(Trim(key));
    const std::string stored = QuoteValue(value);
    const int sectionLine = FindSection(section);
    if (sectionLine < 0) {
        lines_.push_back(Parse("[" + std::string(Trim(section)) + "]"));
        lines_.push_back(Parse(name + "=" + stored));
        return true;
    }
    const int keyLine = FindKey(sectionLine, name);
    if (keyLine >= 0) {
        Line& line = lines_[static_cast<std::size_t>(keyLine)];
        // The key keeps its own spelling, as the Windows functions keep it.
        line = Parse(line.Name + "=" + stored);
        return true;
    }
    // After the section's last non-blank line, so that a blank line before the next section stays there.
    auto last = static_cast<std::size_t>(sectionLine);
    for (std::size_t i = last + 1; i < lines_.size() && lines_[i].Kind != LineKind::Section; ++i) {
        if (!Trim(lines_[i].Text).empty())
            last = i;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1, Parse(name + "=" + stored));
    return true;
}

std::string ProfileFile::Bytes() const {
    std::string bytes;
    for (const Line& line : lines_) {
        bytes += line.Text;
        bytes += "\r\n";
    }
    return bytes;
}

bool ProfileFile::CanHold(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string ProfileFile::QuoteValue(std::string_view value) {
    // The Windows functions take off blanks at the ends and one pair of single or double quotes.
    const bool needsQuotes = (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) ||
                             Quoted(value, '"') || Quoted(value, '\'');
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

std::string ProfileFile::UnquoteValue(std::string_view stored) {
    stored = Trim(stored);
    if (Quoted(stored, '"'))
        stored = stored.substr(1, stored.size() - 2);
    return std::string(stored);
}

} // namespace olg
