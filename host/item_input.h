#pragma once

// An item as the user writes it in the items file, and its record for the module.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "tavrin21/item_record.h"

namespace tavrin21::host {

struct ItemInput {
    std::string partNumber;
    std::uint8_t environmentCode = 0;
    float temperature = 0.0f;
    std::uint8_t methodCode = 0;
    std::uint8_t mode = 0;
};

// Where each column of the items file stands, from its header.
class ItemColumns {
public:
    // Throws std::runtime_error naming a missing, repeated or unknown column.
    explicit ItemColumns(const std::vector<std::string>& header);

    // The item of one row, or the reason it is not one ("temperature \"abc\" is not a number").
    std::variant<ItemInput, std::string> Parse(const std::vector<std::string>& row) const;

private:
    std::size_t partNumber_ = 0, environmentCode_ = 0, temperature_ = 0, methodCode_ = 0, mode_ = 0;
    std::size_t count_ = 0;
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
