// Configuration files come from anywhere: every device type loads from any bytes without fault, and a value
// written into any file reads back unchanged, also after the file is read again.

#include "ConfigProfile.h"
#include "DeviceRegistry.h"
#include "ProfileFile.h"

#include <algorithm>
#include <cstdlib>

using namespace olg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DeviceRegistry registry = StandardRegistry();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileFile profile(bytes);

    // Both checks, each on every other type, so that a run stays quick.
    bool strict = size % 2 == 0;
    for (const TConfigDevice& entry : registry.Entries()) {
        TOLG record;
        record.SetValue(5, ParamValue::Text(entry.Model));
        record.SetValue(13, ParamValue::Integer(static_cast<std::int32_t>(entry.TypeCode)));
        ConfigProfile(registry).Load(profile, record,
                                     strict ? ConfigProfile::Check::Strict : ConfigProfile::Check::Review);
        strict = !strict;
    }

    // The first bytes of the input, whatever they hold, as the value of a device's name.
    const std::string value(bytes.substr(0, std::min<std::size_t>(size, 64)));
    if (!profile.WriteString("olg1n", "7", value))
        return 0;
    if (profile.ReadString("olg1n", "7") != value)
        std::abort();
    const ProfileFile reread(profile.Bytes());
    if (reread.ReadString("OLG1N", "7") != value || reread.Bytes() != profile.Bytes())
        std::abort();
    return 0;
}
