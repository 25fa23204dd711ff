#include "RecordDiff.h"

#include "ParamDescriptor.h"

namespace olg {

std::vector<int> RecordDiff::DifferingIds(const DeviceRegistry& registry, const TOLG& a, const TOLG& b,
                                          Scope scope) {
    const ParamValue& type = a.TypeValue();
    std::vector<int> differing;
    for (int id = MinParamId; id <= registry.MaxParamId(type); ++id) {
        const std::uint8_t kind = registry.ParamKind(id, type);
        // Six-byte values are no configuration: neither written nor kept in a file.
        const bool compared = registry.HasParam(id, type) && kind >= KindIp && kind <= KindU32 &&
                              (scope == Scope::Held || registry.ParamAccess(id, type) != AccessRead);
        if (compared && a.Value(id) != b.Value(id))
            differing.push_back(id);
    }
    return differing;
}

} // namespace olg
