#pragma once

// The failure-data library file and the reading of a part's recorded failure history.

#include "framework/database.h"
#include "framework/recordset.h"
#include "library/database_file.h"
#include "library/part_failure_record.h"

#include <string>

namespace tavrin21 {

inline constexpr const char* kFailureLibraryFileName = "zova.mdb";
inline constexpr const char* kFailureLibraryDirectory = "LIB";

// First line of the message box shown when the library cannot be read.
inline constexpr const char* kMessageLibraryReadError = "Error reading item from ZOVA library!\n";

// OpenRows results.
inline constexpr int kRowsOpen = 0;
inline constexpr int kRowsNotOpened = 1;
inline constexpr int kRowsNone = 2;

class FailureLibrary final : public DatabaseFile {
  public:
    FailureLibrary(std::string driveText, std::string directoryText);

    int Open() override;

    // The SQL text that selects the key's rows of PartFR in TimeNumber order.
    std::string BuildPartQuery(const PartFailureRecord& key) const;

    // The number of rows `sql` yields on `connection`, counted by walking them. An error while
    // opening is shown once as a message box and counts as 1; an error while walking propagates.
    int CountRows(framework::Database* connection, const std::string& sql) const;

    // Opens `recordset` on `sql`: kRowsOpen standing on the first row; kRowsNone when there is no
    // row (the set is closed again); kRowsNotOpened after an error, shown once as a message box.
    // In the last two cases the set reports end of data.
    int OpenRows(framework::Recordset& recordset, const std::string& sql) const;

    // Copies the current row of `recordset` into `record`, without moving. Errors propagate.
    void ReadRow(PartFailureRecord& record, framework::Recordset& recordset) const;
};

}  // namespace tavrin21
