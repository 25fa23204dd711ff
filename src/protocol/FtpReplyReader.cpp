#include "FtpReplyReader.h"

#include <algorithm>

namespace olg {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The code of a line that starts with three digits, else 0.
int CodeOf(std::string_view line) {
    if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2]))
        return 0;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

} // namespace

std::optional<FtpReplyReader::Reply> FtpReplyReader::Take() {
    // Lines already read are not read again, so a server that sends a byte at a time costs no more than one
    // that sends its reply at once.
    const std::string_view input(input_);
    for (std::size_t end; (end = input.find('\n', std::max(lineStart_, searched_))) != std::string_view::npos;
         lineStart_ = end + 1) {
        std::string_view line = input.substr(lineStart_, end - lineStart_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const int code = CodeOf(line);
        // The first line: "ddd", "ddd text"; "ddd-" opens a reply of several lines. Lines before are strays.
        const bool last = code_ == 0 ? code != 0 && (line.size() == 3 || line[3] != '-')
                                     : code == code_ && line.size() > 3 && line[3] == ' ';
        if (code_ == 0)
            code_ = code;
        if (last) {
            Reply reply{code, std::string(line)};
            input_.erase(0, end + 1);
            Clear(false);
            return reply;
        }
    }
    searched_ = input.size();
    return std::nullopt;
}

void FtpReplyReader::Clear(bool input) {
    if (input)
        input_.clear();
    lineStart_ = 0;
    searched_ = 0;
    code_ = 0;
}

std::vector<std::string> FtpReplyReader::SplitNames(std::string_view listing) {
    std::vector<std::string> names;
    while (!listing.empty()) {
        const std::size_t end = listing.find('\n');
        std::string_view line = listing.substr(0, end);
        listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            names.emplace_back(line);
    }
    return names;
}

} // namespace olg
