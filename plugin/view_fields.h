#pragma once

// The method's two columns in the host's item views: the item's environment code and its
// temperature. These are the operations behind the view-field exports; each takes valid
// pointers and references (the exports check them) and returns a Status.

#include "tavrin21/item_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tavrin21 {

inline constexpr std::int32_t kViewFieldCount = 2;
inline constexpr std::int32_t kTitleLineCount = 2;
inline constexpr std::int32_t kEnvironmentField = 1;
inline constexpr std::int32_t kTemperatureField = 2;

// Bytes written with the NUL: a title, the environment text, the temperature text.
inline constexpr std::size_t kFieldTitleBytes = 14;
inline constexpr std::size_t kEnvironmentTextBytes = 22;
inline constexpr std::size_t kTemperatureTextBytes = 14;

// Indexed by field number - 1.
inline constexpr std::array<std::string_view, kViewFieldCount> FieldTitles = {" Environment ",
                                                                              " Temperature "};
inline constexpr std::array<std::int32_t, kViewFieldCount> FieldLengths = {13, 13};

// count = 2; fields receives 1 and 2.
std::int32_t ViewFields(std::int32_t& count, std::span<std::int32_t, kViewFieldCount> fields);
std::int32_t FieldsCount(std::int32_t& count);
std::int32_t TitleLinesCount(std::int32_t& count);

// StatusBadIndex, writing nothing, for a field or title line outside 1..its count.
std::int32_t FieldLength(std::int32_t field, std::int32_t& length);
std::int32_t FieldTitle(std::int32_t field, std::int32_t titleLine, char* buffer);

// Writes the field's text for `item` into buffer (kEnvironmentTextBytes for field 1,
// kTemperatureTextBytes for field 2). When the low byte of `view` is 1, first refreshes
// item.ViewBlockCopy from item.ViewBlock. A field out of range writes nothing at all.
std::int32_t FieldText(std::int32_t field, std::int32_t view, char* buffer, ItemRecord& item);

}  // namespace tavrin21
