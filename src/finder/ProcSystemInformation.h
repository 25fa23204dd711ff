#pragma once

#include "SystemInformation.h"

namespace olg {

// The machine as Linux describes it in /proc, with Qt's figures where /proc says nothing.
class ProcSystemInformation : public SystemInformation {
public:
    qint64 TotalMemoryKB() override;
    int ProcessorCount() override;
    QString ProcessorName() override;
};

} // namespace olg
