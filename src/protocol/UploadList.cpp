#include "UploadList.h"

#include "Windows1252.h"

namespace olg {

std::vector<std::string> UploadList::Names(std::string_view bytes) {
    std::vector<std::string> names;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        names.push_back(Windows1252ToUtf8(line));
    }
    return names;
}

bool UploadList::IsPlainName(std::string_view name) {
    return name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace olg
