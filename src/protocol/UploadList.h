#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olg {

// An upload list: a text file from the Windows tools naming, one per line, files of its own folder that a
// device's FTP store receives.
class UploadList {
public:
    // The lines of the list's bytes, each as it stands but for its line end (CR LF or LF), decoded from
    // Windows-1252 into UTF-8. A final line end adds no empty line.
    static std::vector<std::string> Names(std::string_view bytes);

    // True for a name that stays in the list's folder: no path separator of either system, not "..", no NUL.
    static bool IsPlainName(std::string_view name);
};

} // namespace olg
