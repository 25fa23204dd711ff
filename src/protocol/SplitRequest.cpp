#include "SplitRequest.h"

namespace olg {

SplitRequest BuildSplitRequest(SplitOperation operation, const TOLG& record, const DeviceRegistry& registry,
                               std::uint16_t distributorCode) {
    const ParamValue& type = record.TypeValue();
    const std::uint8_t command = operation == SplitOperation::Read ? CommandRead : CommandWrite;
    SplitRequest request;
    TSendBuf current;
    BuildHeader(current, command, &record.Identity, distributorCode);
    int bound = IdsPerDatagram;
    const int maxId = registry.MaxParamId(type);
    for (int id = 1; id <= maxId; ++id) {
        const bool general = registry.IsGeneralParam(id, type);
        if ((operation == SplitOperation::Read && general) ||
            (operation == SplitOperation::WriteGeneral && !general))
            continue;
        while (id > bound) {
            // A datagram that is followed by another one carries no end marker.
            current.resize(current.size() - 2);
            request.Datagrams.push_back(std::move(current));
            bound += IdsPerDatagram;
            BuildHeader(current, command, &record.Identity, distributorCode);
        }
        if (operation == SplitOperation::Read) {
            AddReadItem(current, id, type, registry);
        } else if (AddWriteItem(current, id, record, registry) == WriteItemResult::TooLong) {
            return SplitRequest{{}, id};
        }
    }
    request.Datagrams.push_back(std::move(current));
    return request;
}

} // namespace olg
