#include "plugin/view_fields.h"

#include "format/fixed_width.h"
#include "tavrin21/environment_codes.h"
#include "tavrin21/status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tavrin21 {

namespace {

constexpr std::int32_t kTemperatureWidth = 11;
constexpr std::int32_t kTemperatureDecimals = 2;
constexpr std::int32_t kRightJustified = 0;
constexpr std::uint32_t kViewThatCopiesBlock = 1;

static_assert(FieldTitles[0].size() + 1 == kFieldTitleBytes);
static_assert(FieldTitles[1].size() + 1 == kFieldTitleBytes);

bool IsField(std::int32_t field) {
    std::int32_t count = 0;
    FieldsCount(count);
    return field >= 1 && field <= count;
}

bool IsTitleLine(std::int32_t titleLine) {
    std::int32_t count = 0;
    TitleLinesCount(count);
    return titleLine >= 1 && titleLine <= count;
}

void WriteEnvironmentText(char* buffer, const ItemRecord& item) {
    // A code without a name (0 or above 27) shows as a blank field rather than a guessed name.
    const std::string_view name = EnvironmentName(item.EnvironmentCode).value_or("");
    std::snprintf(buffer, kEnvironmentTextBytes, " %-19.*s ",
                  static_cast<int>(std::min<std::size_t>(name.size(), 19)), name.data());
}

void WriteTemperatureText(char* buffer, const ItemRecord& item) {
    char number[20];
    FormatFixedWidth(number, kTemperatureWidth, kTemperatureDecimals,
                     static_cast<double>(item.Temperature), kRightJustified);
    std::snprintf(buffer, kTemperatureTextBytes, " %-11.11s ", number);
}

}  // namespace

std::int32_t ViewFields(std::int32_t& count, std::span<std::int32_t, kViewFieldCount> fields) {
    count = kViewFieldCount;
    fields[0] = kEnvironmentField;
    fields[1] = kTemperatureField;
    return StatusOk;
}

std::int32_t FieldsCount(std::int32_t& count) {
    count = kViewFieldCount;
    return StatusOk;
}

std::int32_t TitleLinesCount(std::int32_t& count) {
    count = kTitleLineCount;
    return StatusOk;
}

std::int32_t FieldLength(std::int32_t field, std::int32_t& length) {
    if (!IsField(field)) {
        return StatusBadIndex;
    }
    length = FieldLengths[static_cast<std::size_t>(field - 1)];
    return StatusOk;
}

std::int32_t FieldTitle(std::int32_t field, std::int32_t titleLine, char* buffer) {
    if (!IsField(field) || !IsTitleLine(titleLine)) {
        return StatusBadIndex;
    }
    // Both lines of a heading carry the same text.
    const std::string_view title = FieldTitles[static_cast<std::size_t>(field - 1)];
    std::memcpy(buffer, title.data(), title.size());
    buffer[title.size()] = '\0';
    return StatusOk;
}

std::int32_t FieldText(std::int32_t field, std::int32_t view, char* buffer, ItemRecord& item) {
    if (!IsField(field)) {
        return StatusBadIndex;
    }
    if ((static_cast<std::uint32_t>(view) & 0xFFu) == kViewThatCopiesBlock) {
        std::memcpy(item.ViewBlockCopy, item.ViewBlock, kViewBlockBytes);
    }
    if (field == kEnvironmentField) {
        WriteEnvironmentText(buffer, item);
    } else {
        WriteTemperatureText(buffer, item);
    }
    return StatusOk;
}

}  // namespace tavrin21
