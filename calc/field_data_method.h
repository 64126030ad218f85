#pragma once

#include "tavrin21/item_record.h"
#include "tavrin21/status.h"

namespace framework {
class Database;
}

namespace tavrin21 {

inline constexpr const char* kMessageInvalidFieldData =
    " Input failure statistics data are not valid for successful Weibull calculation\n";

// The time origin of every field-data fit: recorded times count from it.
inline constexpr double kFieldDataTimeOrigin = 20.0;

// The field-data method: reads the part's recorded failures and suspensions for the item's
// environment from PartFR, on `primaryDb` or, when it has none, on `secondaryDb`, fits a Weibull
// model and writes its shape into ResultRate and its scale into ResultScale.
//
// No rows anywhere: StatusCalculated and nothing written. No failure, or fewer than three times
// in all: kMessageInvalidFieldData and StatusFailed. A database error while the rows are opened
// is shown as a message box and leaves no rows to read; one while they are read (a lost
// connection, say) propagates as framework::DbException.
Status FieldDataMethod(char* message,
                       ItemRecord& item,
                       framework::Database* primaryDb,
                       framework::Database* secondaryDb);

}  // namespace tavrin21
