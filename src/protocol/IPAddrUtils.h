#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace olg {

// Raised by the strict validation; what() is the full message.
class IPStringError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Returns for exactly four decimal octets 0..255 without leading zeros, raises IPStringError otherwise.
void ValidateIPString(std::string_view text);
// Octet n (1..4) of a valid address, 0 for any other n; raises like ValidateIPString.
int GetIPOctet(std::string_view text, int n);
// The n-th piece (from 1) of the text split at the separator, or the empty text.
std::string GetPiece(std::string_view text, int n, char separator);
int CountChar(std::string_view text, char character);

} // namespace olg
