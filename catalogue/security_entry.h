#pragma once

// The records of the suite's security entries. The module keeps an empty container of them for
// the life of the module and never fills it; what the fields mean is the suite's business.

#include "catalogue/step_array.h"

#include <array>
#include <cstdint>
#include <string>

namespace tavrin21 {

struct SecurityEntryItemDetail {
    std::array<std::int32_t, 3> numbers{};
    std::array<std::uint8_t, 4> bytes{};
    std::array<std::string, 3> texts;
    std::array<std::uint8_t, 3> flags{1, 0, 0};
};

struct SecurityEntryItem {
    std::array<std::int32_t, 2> numbers{};
    std::string text;
    SecurityEntryItemDetail detail;
};

class SecurityEntryItemArray : public StepArray<SecurityEntryItem> {
  public:
    SecurityEntryItemArray() : StepArray(1) {}
};

struct SecurityEntry {
    std::int32_t number = 0;
    std::array<std::string, 3> texts;
    SecurityEntryItemArray items;
};

class SecurityEntryArray : public StepArray<SecurityEntry> {
  public:
    SecurityEntryArray() : StepArray(1) {}
};

}  // namespace tavrin21
