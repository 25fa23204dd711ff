// Feeds arbitrary datagrams to the reader of a device's answer to an upgrade request, and arbitrary paths to
// the rule that names an FTP image. Any read outside the input, undefined behaviour or broken invariant
// aborts: a mode comes only from its four bytes, and an image name only from the path holding it.

#include "FuzzRequire.h"
#include "UpgradeReply.h"

#include <algorithm>
#include <cstdlib>
#include <string>

using namespace olg;
using olg::fuzz::Require;

namespace {

bool Holds(std::string_view path, std::string_view name) {
    return std::search(path.begin(), path.end(), name.begin(), name.end(),
                       [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; }) != path.end();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TransferMode mode = ReplyTransferMode(data, size);
    if (mode != TransferMode::None) {
        Require(size >= 27 && data[23] == 0 && data[25] == 0xFF);
        Require((mode == TransferMode::FtpFileSet) == (data[24] == 4));
    }
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const std::string name = FtpImageName(path);
    Require(name == (Holds(path, "rom.bin") ? "rom.bin" : Holds(path, "image.bin") ? "image.bin" : ""));
    return 0;
}
