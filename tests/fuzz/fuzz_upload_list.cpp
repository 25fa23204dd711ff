// Feeds arbitrary files to the upload-list reader and its names to the rule that keeps them in the list's
// folder. Any read outside the input, undefined behaviour or broken invariant aborts: each name is its line's
// bytes exactly (back to Windows-1252 they are the line), and a name that passes reaches no other folder.

#include "FuzzRequire.h"
#include "UploadList.h"
#include "Windows1252.h"

#include <cstdlib>

using namespace olg;
using olg::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> names = UploadList::Names(bytes);
    for (const std::string& name : names) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        Require(Utf8ToWindows1252(name) == std::string(line));
        if (UploadList::IsPlainName(name))
            Require(name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos);
    }
    Require(bytes.empty());
    return 0;
}
