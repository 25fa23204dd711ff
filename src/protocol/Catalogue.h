#pragma once

#include "ParamDescriptor.h"

namespace olg {

// The parameter tables of the seven models. The five olg8w type codes share one table.
TConfigFile Olg1nTable();
TConfigFile Olg4aTable();
TConfigFile Olg4nTable();
TConfigFile Olg8aTable();
TConfigFile Olg8nTable();
TConfigFile Olg8kTable();
TConfigFile Olg8wTable();

// Ids 1-7 and 12-15 have fixed kinds that hold whatever the type code; 0 for every other id.
std::uint8_t BuiltInKind(int id);

} // namespace olg
