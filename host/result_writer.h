#pragma once

#include <ostream>
#include <vector>

#include "host/item_result.h"
#include "host/module_columns.h"

namespace tavrin21::host {

// One header line and one line per item:
// PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Status,Message,ResultRate,ResultScale
void WriteCsv(std::ostream& out, const std::vector<ItemResult>& results);

// Aligned columns for a person to read, the module's own columns among them.
void WriteTable(std::ostream& out, const std::vector<ItemResult>& results, const ModuleColumns& columns);

}  // namespace tavrin21::host
