#pragma once

// One item's calculation: the entry checks, then the table method or the field-data method.

#include "tavrin21/item_record.h"
#include "tavrin21/status.h"

#include <cstdint>
#include <string_view>

namespace framework {
class Database;
}

namespace tavrin21 {

inline constexpr std::uint8_t kModeFieldData = 2;

inline constexpr const char* kMessageItemWithoutPartName = " Item without Part Name\n";
inline constexpr const char* kMessageNoTableData =
    " No data for this part in ZOVA FR Table Library\n";

// Calculates `item` and writes its results into it; a failure's message replaces the content
// of `message` (at least kMessageBufferBytes bytes, or null to drop messages). Only the low
// byte of `mode` counts. Not reentrant: the table method's record is module-wide.
Status CalcItem(char* message,
                ItemRecord& item,
                framework::Database* primaryDb,
                framework::Database* secondaryDb,
                std::uint8_t mode);

// The item's part number: at most 62 characters, even when the host left no NUL in the field.
std::string_view ItemPartNumber(const ItemRecord& item);

// Replaces the content of the host's message buffer with `text`.
void WriteMessage(char* message, const char* text);

}  // namespace tavrin21
