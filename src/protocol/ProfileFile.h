#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olg {

// A Windows profile file ("INI"), held as its lines, read and changed by the rules of the Windows profile
// functions so that files move both ways between this program and the Windows tools of the same devices:
// section and key names match without regard to case, the first matching section and within it the first
// matching key win, blanks around names and values do not count, and one pair of double quotes around a value
// is taken off on reading. A change touches only its own line: other sections, unknown keys, comments, blank
// lines and their order survive. Bytes are kept as they are (texts are Windows-1252); lines end in CR LF
// when written and may end in CR LF or LF when read.
class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string_view bytes);

    // The value of the key, or nothing when the section or the key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // Replaces the key's value where it stands, or appends the key to its section, or the section with the
    // key to the file. A value with blanks at either end or quotes around it is written inside double quotes,
    // so that it reads back unchanged here and by the Windows functions. Returns false and changes nothing
    // when a name or the value holds a byte no profile line can carry (see CanHold), or when the key holds
    // "=" or begins with "[".
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The whole file, every line ended by CR LF.
    std::string Bytes() const;

    // False for a text with CR, LF or NUL bytes: a profile line cannot carry them.
    static bool CanHold(std::string_view text);
    // A value's text as written into its line, and back.
    static std::string QuoteValue(std::string_view value);
    static std::string UnquoteValue(std::string_view stored);

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string Text; // without its line end
        LineKind Kind = LineKind::Other;
        std::string Name;  // section or key name, blanks removed
        std::string Value; // a key's value as it stands, blanks removed
    };

    static Line Parse(std::string text);
    // Index of the first section of that name, or -1.
    int FindSection(std::string_view section) const;
    // Index of the first key of that name in the section whose header is at the index, or -1.
    int FindKey(int sectionLine, std::string_view key) const;

    std::vector<Line> lines_;
};

} // namespace olg
