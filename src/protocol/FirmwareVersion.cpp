#include "FirmwareVersion.h"

#include "IpText.h"

namespace olg {

std::uint32_t FirmwareVersion(const ParamValue& value, bool ignoreSuffix) {
    if (!value.IsText())
        return 0;
    std::string text = value.AsText();
    if (ignoreSuffix)
        text = text.substr(0, text.find(' '));
    return TextToIp(text);
}

} // namespace olg
