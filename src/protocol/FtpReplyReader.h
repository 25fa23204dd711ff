#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olg {

// Assembles an FTP server's replies from the bytes of its control connection. A reply is one line "ddd text"
// or several, from "ddd-text" to the first line that starts with the same three digits and a blank; lines
// in between are taken as they stand, untrimmed, whatever they begin with.
class FtpReplyReader {
public:
    // More than any device's reply: a server that sends more without ending its reply is not listened to.
    static constexpr std::size_t MaxReplyBytes = 64 * 1024;

    struct Reply {
        int Code = 0;
        std::string Text; // the last line, code included, without its line end
    };

    void Append(std::string_view bytes) { input_.append(bytes); }
    // The next complete reply, taken out of what was appended. Lines before a reply's first that do not
    // start with a code are skipped.
    std::optional<Reply> Take();
    // True when more than MaxReplyBytes wait without a complete reply among them.
    bool Overflowing() const { return input_.size() > MaxReplyBytes; }
    void Clear() { Clear(true); }

    // The names of an NLST answer: one per line (CR LF or LF), empty lines left out.
    static std::vector<std::string> SplitNames(std::string_view listing);

private:
    void Clear(bool input);

    std::string input_;
    // Where the first line not read yet starts, how far the input holds no further line end, and the code
    // of the reply of several lines begun (0: none).
    std::size_t lineStart_ = 0;
    std::size_t searched_ = 0;
    int code_ = 0;
};

} // namespace olg
