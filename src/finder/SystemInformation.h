#pragma once

#include <QString>

namespace olg {

// What the about box tells of the machine.
class SystemInformation {
public:
    virtual ~SystemInformation() = default;

    virtual qint64 TotalMemoryKB() = 0;
    virtual int ProcessorCount() = 0;
    virtual QString ProcessorName() = 0;
};

} // namespace olg
