#pragma once

#include "tavrin21/item_record.h"
#include "tavrin21/status.h"

namespace framework {
class Database;
}

namespace tavrin21 {

// The field-data method: fits a Weibull model to the part's recorded failures and suspensions
// and writes shape and scale into the item.
Status FieldDataMethod(char* message,
                       ItemRecord& item,
                       framework::Database* primaryDb,
                       framework::Database* secondaryDb);

}  // namespace tavrin21
