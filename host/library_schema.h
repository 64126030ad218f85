#pragma once

// The tables and indexes of a library, as examples/schema.sql and examples/part_fr.sql make
// them. The build compiles those files into the program, so that init-db needs no file beside
// it and cannot make a library other than the documented one.

#include <string>
#include <vector>

namespace tavrin21::host {

// The two scripts, word for word.
extern const char* const kFailureRateTableSql;
extern const char* const kFieldHistorySql;

// The statements of both scripts, in order: FRTable, FRTablePoint, PartFR and its index.
std::vector<std::string> LibrarySchemaStatements();

// The statements of `script`: "--" comments dropped, each ended by ';'. The scripts hold no
// ';' or "--" inside a literal.
std::vector<std::string> SplitSqlScript(const std::string& script);

}  // namespace tavrin21::host
