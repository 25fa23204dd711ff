#include "MessageFormat.h"

namespace olg {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    std::string result;
    result.reserve(pattern.size() + 32);
    auto next = arguments.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            result += c;
            continue;
        }
        const char conversion = pattern[++i];
        if (conversion == 's' || conversion == 'd') {
            if (next != arguments.end())
                result += *next++;
        } else {
            result += conversion == '%' ? "%" : std::string{'%', conversion};
        }
    }
    return result;
}

std::string FormatErrorMessage(ErrorMessage index, std::string_view argument) {
    return FormatText(ErrorMessages.at(static_cast<std::size_t>(index)), {argument});
}

} // namespace olg
