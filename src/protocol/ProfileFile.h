#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace olg {

// A Windows profile file ("INI"), read and changed by the rules of the Windows profile functions so that
// files move both ways between this program and the Windows tools of the same devices: CR, LF or both end a
// line; section and key names match with ASCII letters in any case; the first matching section and within it
// the first matching key win; blanks (space, tab, VT, FF, Ctrl-Z) around names and values do not count; a key
// line without "=" has no value; one pair of single or double quotes around a value is taken off on reading.
// A file that begins with the UTF-8 byte order mark is UTF-8, every other file Windows-1252; the texts given
// and returned here are Windows-1252 either way. A change touches only its own line: other sections, unknown
// keys, comments, blank lines and their order survive, and every line then ends in CR LF.
//
// The file is held as its bytes and read in one pass per call, so a large file costs little more than its
// size: ask for all the keys of a section at once.
class ProfileFile {
public:
    using KeyValues = std::vector<std::pair<std::string, std::string>>;

    ProfileFile() = default;
    explicit ProfileFile(std::string_view bytes) : bytes_(bytes) {}
    explicit ProfileFile(std::string&& bytes) : bytes_(std::move(bytes)) {}

    // The value of the key, or nothing when the section or the key is missing or the key has no value.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // The values of several keys of one section, in the order of the keys.
    std::vector<std::optional<std::string>> ReadStrings(std::string_view section,
                                                        const std::vector<std::string>& keys) const;

    // Replaces the key's value where it stands, or appends the key to its section, or the section with the
    // key to the file. A value with blanks at either end or quotes around it is written inside double quotes,
    // so that it reads back unchanged here and by the Windows functions. Returns false and changes nothing
    // when a name or the value holds a byte no profile line can carry (see CanHold), or when the key holds
    // "=" or begins with "[".
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // The same for several keys of one section at once, in one pass; all or nothing.
    bool WriteStrings(std::string_view section, const KeyValues& values);

    // The whole file, every line ended by CR LF.
    std::string Bytes() const;

    // False for a text with CR, LF or NUL bytes: a profile line cannot carry them.
    static bool CanHold(std::string_view text);
    // A value's text as written into its line, and back.
    static std::string QuoteValue(std::string_view value);
    static std::string UnquoteValue(std::string_view stored);

private:
    bool Utf8() const;
    // The text of the file's encoding for a Windows-1252 text, and back.
    std::string Encode(std::string_view text) const;
    std::string Decode(std::string_view text) const;

    std::string bytes_;
};

} // namespace olg
