// Feeds an FTP server's control connection, in pieces, to the reply reader, and the same bytes as a name
// list to its splitter. Any read outside the input, undefined behaviour or broken invariant aborts: every
// reply has a three-digit code its last line starts with, no reply holds a line end, and no name is empty or
// holds a line end.

#include "FtpReplyReader.h"
#include "FuzzRequire.h"

#include <cstdlib>

using namespace olg;
using olg::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The first byte sets how the bytes arrive: in pieces of 1 to 256.
    const std::size_t piece = data[0] + 1u;
    FtpReplyReader reader;
    for (std::size_t at = 0; at < input.size(); at += piece) {
        reader.Append(input.substr(at, piece));
        while (const auto reply = reader.Take()) {
            Require(reply->Code >= 0 && reply->Code <= 999);
            Require(reply->Text.size() >= 3 && reply->Text.find('\n') == std::string::npos);
            Require((reply->Text[0] - '0') * 100 + (reply->Text[1] - '0') * 10 + (reply->Text[2] - '0') ==
                    reply->Code);
        }
        // A reader that overflows is given up by its client: start afresh, as a new connection would.
        if (reader.Overflowing())
            reader.Clear();
    }
    for (const std::string& name : FtpReplyReader::SplitNames(input))
        Require(!name.empty() && name.find('\n') == std::string::npos);
    return 0;
}
