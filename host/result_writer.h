#pragma once

// Results written one item at a time, as they are calculated, so nothing is held back.

#include "host/item_result.h"
#include "host/module_columns.h"

#include <memory>
#include <ostream>
#include <string>

namespace tavrin21::host {

class ResultWriter {
  public:
    virtual ~ResultWriter() = default;
    virtual void WriteHeader() = 0;
    virtual void Write(const ItemResult& result) = 0;
};

// "csv": one header line and one line per item,
//   Line,PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Method,Status,Rate,Shape,Scale,Message
// with Status the module's code (empty when the item was not calculated) and a number only where
// there is one to trust.
// "json": the same fields as one JSON object per line (JSON Lines), null where csv is empty.
// "table": aligned columns for a person to read, the module's own columns among them and the
// status as a word; a text wider than its column pushes the rest of its line right. Texts are
// shown terminal-safe; csv fields only when `toTerminal` (elsewhere they are data and must read
// back as they were).
std::unique_ptr<ResultWriter> MakeResultWriter(const std::string& format,
                                               std::ostream& out,
                                               const ModuleColumns& columns,
                                               bool toTerminal);

}  // namespace tavrin21::host
