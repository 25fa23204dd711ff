#include "FtpReplyReader.h"

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
    const std::string_view input(input_);
    int code = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = input.find('\n', start)) != std::string_view::npos; start = end + 1) {
        std::string_view line = input.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (code == 0) {
            code = CodeOf(line);
            // A line of a single-line reply: "ddd", "ddd text"; "ddd-" opens one of several lines.
            if (code != 0 && (line.size() == 3 || line[3] != '-')) {
                Reply reply{code, std::string(line)};
                input_.erase(0, end + 1);
                return reply;
            }
        } else if (CodeOf(line) == code && line.size() > 3 && line[3] == ' ') {
            Reply reply{code, std::string(line)};
            input_.erase(0, end + 1);
            return reply;
        }
    }
    return std::nullopt;
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
