#include "IPAddrUtils.h"

#include "MessageFormat.h"

namespace olg {
namespace {

// Failed preconditions are reported with their source position, as assertion failures always were.
[[noreturn]] void AssertionFailure(const std::string& message, int line) {
    throw IPStringError(message + " (IPAddrUtils, line " + std::to_string(line) + ")");
}

// The 12-digit form: four groups of three characters, each piece padded on the left with "0".
std::string NormalizeIPString(std::string_view text) {
    const std::string quoted(text);
    if (text.size() > 15)
        AssertionFailure(
            FormatText("Illegal length for IPString![%s(%d)]", {quoted, std::to_string(text.size())}),
            __LINE__);
    if (CountChar(text, '.') != 3)
        AssertionFailure(FormatText("Must include exactly 3 dots! [%s]", {quoted}), __LINE__);
    std::string digits;
    for (int n = 1; n <= 4; ++n) {
        const std::string piece = GetPiece(text, n, '.');
        if (piece.empty() || piece.size() > 3)
            throw IPStringError(
                FormatText("IPAddress must include 4 pieces of length 1..3. IPAddressString[%s]", {quoted}));
        if (piece.size() > 1 && piece[0] == '0')
            throw IPStringError(FormatText("Leading zero not allowed. IPAddressString[%s]", {quoted}));
        digits += std::string(3 - piece.size(), '0') + piece;
    }
    return digits;
}

void CheckIPDigits(std::string_view digits, std::string_view text) {
    const std::string quoted(text);
    for (std::size_t group = 0; group < 4; ++group) {
        int value = 0;
        for (const char c : digits.substr(group * 3, 3)) {
            if (c < '0' || c > '9')
                throw IPStringError(
                    FormatText("%s. IPAddressString[%s]", {"IP Address contains illegal symbols", quoted}));
            value = value * 10 + (c - '0');
        }
        if (value > 255)
            throw IPStringError(
                FormatText("Triplets must be of range 0..255  IPAddressString[%s]", {quoted}));
    }
}

} // namespace

void ValidateIPString(std::string_view text) {
    CheckIPDigits(NormalizeIPString(text), text);
}

int GetIPOctet(std::string_view text, int n) {
    ValidateIPString(text);
    if (n < 1 || n > 4)
        return 0;
    return std::stoi(GetPiece(text, n, '.'));
}

std::string GetPiece(std::string_view text, int n, char separator) {
    if (n < 1)
        return {};
    std::size_t start = 0;
    for (int piece = 1; piece < n; ++piece) {
        const std::size_t next = text.find(separator, start);
        if (next == std::string_view::npos)
            return {};
        start = next + 1;
    }
    const std::size_t end = text.find(separator, start);
    return std::string(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

int CountChar(std::string_view text, char character) {
    int count = 0;
    for (const char c : text)
        count += c == character ? 1 : 0;
    return count;
}

} // namespace olg
