#include "ProfileFile.h"

#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace olg {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

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

// Names match with ASCII letters in any case, and only those, as the Windows functions match them.
char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string Folded(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), Fold);
    return folded;
}

// A quick test that a line's name can be one of the names asked for, so that most lines of a large file cost
// no folded copy and no lookup.
class NameFilter {
public:
    void Add(std::string_view folded) {
        if (!folded.empty())
            first_[static_cast<unsigned char>(folded.front())] = true;
        empty_ = empty_ || folded.empty();
        longest_ = std::max(longest_, folded.size());
    }
    bool MayHold(std::string_view name) const {
        return name.empty()
                   ? empty_
                   : name.size() <= longest_ && first_[static_cast<unsigned char>(Fold(name.front()))];
    }

private:
    std::array<bool, 256> first_{};
    std::size_t longest_ = 0;
    bool empty_ = false;
};

bool Quoted(std::string_view text, char quote) {
    return text.size() >= 2 && text.front() == quote && text.back() == quote;
}

// The next line of the rest, without its end; CR LF, LF and CR each end one line. memchr keeps a file of
// millions of lines quick also in a build without optimisation.
std::string_view NextLine(std::string_view& rest) {
    const auto* newline = static_cast<const char*>(std::memchr(rest.data(), '\n', rest.size()));
    std::size_t end = newline ? static_cast<std::size_t>(newline - rest.data()) : rest.size();
    if (const auto* cr = static_cast<const char*>(std::memchr(rest.data(), '\r', end)))
        end = static_cast<std::size_t>(cr - rest.data());
    const std::string_view line = rest.substr(0, end);
    const bool crlf = end + 1 < rest.size() && rest[end] == '\r' && rest[end + 1] == '\n';
    rest.remove_prefix(std::min(rest.size(), end + (crlf ? 2 : 1)));
    return line;
}

// One line as the Windows functions see it.
struct Line {
    enum class Kind { Blank, Section, Key } Kind = Kind::Blank;
    std::string_view Name;  // blanks removed
    std::string_view Value; // a key's value as it stands, blanks removed
    bool HasValue = false;  // a key line without "=" has none
};

Line Parse(std::string_view text) {
    Line line;
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty())
        return line;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            line.Kind = Line::Kind::Section;
            line.Name = Trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    // Any other line is a key: comments are keys nobody asks for.
    line.Kind = Line::Kind::Key;
    const std::size_t equals = trimmed.find('=');
    line.Name = Trim(trimmed.substr(0, equals));
    line.HasValue = equals != std::string_view::npos;
    if (line.HasValue)
        line.Value = Trim(trimmed.substr(equals + 1));
    return line;
}

} // namespace

bool ProfileFile::Utf8() const {
    return std::string_view(bytes_).starts_with(Utf8Mark);
}

std::string ProfileFile::Encode(std::string_view text) const {
    return Utf8() ? Windows1252ToUtf8(text) : std::string(text);
}

std::string ProfileFile::Decode(std::string_view text) const {
    return Utf8() ? Utf8ToWindows1252Lossy(text) : std::string(text);
}

std::optional<std::string> ProfileFile::ReadString(std::string_view section, std::string_view key) const {
    return ReadStrings(section, {std::string(key)}).front();
}

std::vector<std::optional<std::string>> ProfileFile::ReadStrings(std::string_view section,
                                                                 const std::vector<std::string>& keys) const {
    std::vector<std::optional<std::string>> values(keys.size());
    // Each name once, at its first place: the first of equal keys wins, as the first line of a name does.
    std::unordered_map<std::string, std::size_t> wanted;
    for (std::size_t i = 0; i < keys.size(); ++i)
        wanted.emplace(Folded(Encode(Trim(keys[i]))), i);
    std::vector<std::size_t> same(keys.size());
    NameFilter filter;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string folded = Folded(Encode(Trim(keys[i])));
        same[i] = wanted.at(folded);
        filter.Add(folded);
    }

    const std::string name = Folded(Encode(Trim(section)));
    std::string_view rest(bytes_);
    if (Utf8())
        rest.remove_prefix(Utf8Mark.size());
    // The lines before the first section header make a section without a name; no other of that name counts.
    bool inSection = name.empty();
    while (!rest.empty() && !wanted.empty()) {
        const Line line = Parse(NextLine(rest));
        if (line.Kind == Line::Kind::Section) {
            // Only the first section of the name counts.
            if (inSection)
                break;
            inSection = Folded(line.Name) == name;
        } else if (inSection && line.Kind == Line::Kind::Key && filter.MayHold(line.Name)) {
            const auto found = wanted.find(Folded(line.Name));
            if (found == wanted.end())
                continue;
            if (line.HasValue)
                values[found->second] = Decode(UnquoteValue(line.Value));
            wanted.erase(found);
        }
    }
    for (std::size_t i = 0; i < keys.size(); ++i)
        values[i] = values[same[i]];
    return values;
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return WriteStrings(section, {{std::string(key), std::string(value)}});
}

bool ProfileFile::WriteStrings(std::string_view section, const KeyValues& values) {
    // A key with "=" would read back as another key, one in brackets as a section.
    if (!CanHold(section))
        return false;
    for (const auto& [key, value] : values) {
        if (!CanHold(key) || !CanHold(value) || key.find('=') != std::string::npos ||
            Trim(key).starts_with('['))
            return false;
    }
    // The line of each key not yet written, by folded name; a later value of the same key wins.
    std::unordered_map<std::string, std::string> pending;
    std::vector<std::string> order;
    NameFilter filter;
    for (const auto& [key, value] : values) {
        const std::string name = Encode(Trim(key));
        const auto [place, added] =
            pending.insert_or_assign(Folded(name), name + "=" + Encode(QuoteValue(value)));
        if (added)
            order.push_back(place->first);
        filter.Add(place->first);
    }
    const auto appendPending = [&](std::string& out) {
        for (const std::string& folded : order) {
            const auto found = pending.find(folded);
            if (found != pending.end())
                out.append(found->second).append("\r\n");
        }
        pending.clear();
    };

    const std::string name = Folded(Encode(Trim(section)));
    std::string out;
    out.reserve(bytes_.size() + bytes_.size() / 8 + 64);
    std::string_view rest(bytes_);
    if (Utf8()) {
        rest.remove_prefix(Utf8Mark.size());
        out.append(Utf8Mark);
    }
    enum class Place { Before, Inside, After } place = name.empty() ? Place::Inside : Place::Before;
    // Blank lines at the end of the section stay after the keys appended to it.
    std::string blanks;
    while (!rest.empty()) {
        const std::string_view text = NextLine(rest);
        const Line line = Parse(text);
        if (place == Place::Inside && line.Kind == Line::Kind::Blank) {
            blanks.append(text).append("\r\n");
            continue;
        }
        if (place == Place::Inside && line.Kind == Line::Kind::Section) {
            appendPending(out);
            place = Place::After;
        }
        out.append(blanks);
        blanks.clear();
        if (place == Place::Before && line.Kind == Line::Kind::Section && Folded(line.Name) == name)
            place = Place::Inside;
        const auto found = place == Place::Inside && line.Kind == Line::Kind::Key && filter.MayHold(line.Name)
                               ? pending.find(Folded(line.Name))
                               : pending.end();
        if (found != pending.end()) {
            // The key keeps its own spelling, as the Windows functions keep it.
            out.append(line.Name).append(found->second.substr(found->second.find('='))).append("\r\n");
            pending.erase(found);
        } else {
            out.append(text).append("\r\n");
        }
    }
    if (place == Place::Before)
        out.append("[").append(Encode(Trim(section))).append("]\r\n");
    appendPending(out);
    out.append(blanks);
    bytes_ = std::move(out);
    return true;
}

std::string ProfileFile::Bytes() const {
    std::string bytes;
    bytes.reserve(bytes_.size() + 16);
    std::string_view rest(bytes_);
    if (Utf8()) {
        rest.remove_prefix(Utf8Mark.size());
        bytes.append(Utf8Mark);
    }
    while (!rest.empty())
        bytes.append(NextLine(rest)).append("\r\n");
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
    if (Quoted(stored, '"') || Quoted(stored, '\''))
        stored = stored.substr(1, stored.size() - 2);
    return std::string(stored);
}

} // namespace olg
