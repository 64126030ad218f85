#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/item_input.h"
#include "tavrin21/status.h"

namespace tavrin21::host {

// What the module made of one item.
struct ItemResult {
    ItemInput input;
    std::int32_t status = 0;
    std::string message;  // without its leading blank and line feed; empty when none
    float resultRate = 0.0f;
    float resultScale = 0.0f;
    std::vector<std::string> moduleFields;  // the module's own columns, as it renders them
};

// The module's message as a user reads it: no leading blank, no trailing line feed.
std::string CleanMessage(const char* message);

// A single as text with enough digits to tell every single apart (%.9g).
std::string SingleText(float value);

}  // namespace tavrin21::host
