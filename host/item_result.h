#pragma once

#include "host/item_input.h"
#include "tavrin21/item_record.h"
#include "tavrin21/status.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin21::host {

// What the module made of one item, as the host shows it: a number only where it is one the
// user can trust.
struct ItemResult {
    ItemInput input;
    std::optional<std::int32_t> status;  // the module's code; none when the item was not calculated
    // The module's message without its leading blank and line feed, or the host's remark:
    // "no usable rate point", "no field data", "fit failed", a database error, why the item was not
    // calculated.
    std::string message;
    std::optional<float> rate;              // table method: the failure rate, in the library's unit
    std::optional<float> shape;             // field-data method: the Weibull shape
    std::optional<float> scale;             // field-data method: the Weibull scale
    std::vector<std::string> moduleFields;  // the module's own columns, as it renders them
};

// The status as a word: "calculated", "failed", "not calculated".
const char* StatusName(const ItemResult& result);

// Marks the record's result fields before calc_item, so that TakeModuleResults can tell a field
// the module left alone from one it wrote (a part without field data is calculated with nothing
// written, and 0 would read as a failure rate of zero).
void PresetResultFields(ItemRecord& record);

// Fills `result` from what calc_item returned: the rate, or the shape and scale, when they are
// numbers; "no usable rate point" when the table method gave 0, "no field data" when the
// field-data method wrote nothing, "fit failed" when its fit gave shape and scale 0.
void TakeModuleResults(ItemResult& result,
                       std::int32_t status,
                       const char* message,
                       const ItemRecord& record);

// The module's message as a user reads it: no leading blank, no trailing line feed.
std::string CleanMessage(const char* message);

// A single as the shortest text that reads back as the same single ("0.1", "88.0418701").
std::string SingleText(float value);

}  // namespace tavrin21::host
