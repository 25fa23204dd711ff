// olgsim's command line, one argument per line of the input: any arguments give a setup, the help or an error
// with its reason. A configuration file's name stands for the settings such a file would give: its
// ";"-separated pieces are a listen address, a reply base and a device.

#include "SetupParser.h"

#include <cstdlib>

using namespace olg;
using namespace olg::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DeviceRegistry registry = StandardRegistry();
    std::vector<std::string> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        arguments.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    // A fleet of thousands is made, correctly but slowly: the fuzzer keeps to small ones.
    for (const std::string& argument : arguments)
        if (argument.size() > 3 && argument.find_first_not_of("0123456789") == std::string::npos)
            return 0;
    SetupParser parser(registry);
    const auto readConfig = [](const std::string& path, SetupParser& into) {
        const std::size_t first = path.find(';');
        const std::size_t second = first == std::string::npos ? first : path.find(';', first + 1);
        return into.SetListen(path.substr(0, first)) &&
               (first == std::string::npos ||
                into.SetReplyBase(path.substr(first + 1, second - first - 1))) &&
               (second == std::string::npos ||
                into.AddDevice(DeviceSpecParser::Split(path.substr(second + 1)),
                               "configuration file device"));
    };
    if (parser.Parse(arguments, readConfig) == SetupParser::Outcome::Error && parser.Message().empty())
        std::abort();
    return 0;
}
