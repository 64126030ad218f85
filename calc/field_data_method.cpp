#include "calc/field_data_method.h"

#include "calc/calc_item.h"

namespace tavrin21 {

Status FieldDataMethod(char* message,
                       ItemRecord& /*item*/,
                       framework::Database* /*primaryDb*/,
                       framework::Database* /*secondaryDb*/) {
    // The Weibull fit of recorded field data is not part of this build yet; say so plainly
    // instead of writing a result.
    WriteMessage(message, " Field-data method is not available in this version\n");
    return StatusFailed;
}

}  // namespace tavrin21
