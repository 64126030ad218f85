#pragma once

// An item as the user writes it in the items file, and its record for the module.

#include "tavrin21/item_record.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tavrin21::host {

struct ItemInput {
    std::string partNumber;
    std::uint8_t environmentCode = 0;
    float temperature = 0.0f;
    std::uint8_t methodCode = 0;
    std::uint8_t mode = 0;
    std::size_t line = 0;  // where the item's row starts in the items file
};

// The mode that selects the field-data method; any other mode selects the table method.
inline constexpr std::uint8_t kFieldDataMode = 2;

// The method the module applies to `item`, as a word: "logarithmic" (the table method's variants
// 0 and 1, with temperature conversion), "straight line" (variants 2 to 99) or "field data".
const char* MethodName(const ItemInput& item);

// Where each column of the items file stands, from its header. Names match in any case; other
// columns (a comment, a reference) are carried along and ignored.
class ItemColumns {
  public:
    // Throws std::runtime_error naming a missing or repeated column.
    explicit ItemColumns(const std::vector<std::string>& header);

    // The header's names that are none of the item's columns, as written.
    const std::vector<std::string>& IgnoredColumns() const { return ignored_; }

    // The item of one row, or the reason it is not one ("temperature \"abc\" is not a number").
    std::variant<ItemInput, std::string> Parse(const std::vector<std::string>& row) const;

  private:
    std::size_t partNumber_ = 0, environmentCode_ = 0, temperature_ = 0, methodCode_ = 0, mode_ = 0;
    std::size_t count_ = 0;
    std::vector<std::string> ignored_;
};

// The header the items file must have (in any order).
inline constexpr const char* kItemColumnNames[] = {"PartNumber", "EnvironmentCode", "Temperature",
                                                   "MethodCode", "Mode"};

// The environment code of "1" to "27" or a code such as "gb" or "AIC" (any case), or the reason
// the text is neither.
std::variant<std::uint8_t, std::string> EnvironmentFromText(const std::string& text);

// The record the host hands the module: every byte zero but the item's fields.
ItemRecord MakeItemRecord(const ItemInput& item);

}  // namespace tavrin21::host
