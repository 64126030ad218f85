#include "host/item_result.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace tavrin21::host {

namespace {

// A quiet NaN with a payload of its own: the module never computes it, and copying a quiet NaN
// (even through an x87 register) keeps its bits.
constexpr std::uint32_t kUntouchedBits = 0x7FC0A5A5u;

bool Untouched(float value) {
    return std::bit_cast<std::uint32_t>(value) == kUntouchedBits;
}

}  // namespace

const char* StatusName(const ItemResult& result) {
    if (!result.status) {
        return "not calculated";
    }
    return *result.status == StatusCalculated ? "calculated" : "failed";
}

void PresetResultFields(ItemRecord& record) {
    record.ResultRate = std::bit_cast<float>(kUntouchedBits);
    record.ResultScale = std::bit_cast<float>(kUntouchedBits);
}

void TakeModuleResults(ItemResult& result,
                       std::int32_t status,
                       const char* message,
                       const ItemRecord& record) {
    result.status = status;
    result.message = CleanMessage(message);
    if (status != StatusCalculated) {
        return;
    }
    const float rate = record.ResultRate;  // copied out of the packed record
    const float scale = record.ResultScale;
    if (result.input.mode != kFieldDataMode) {
        // The table method gives 0 only when none of the part's points has a rate it can use.
        if (rate == 0.0f) {
            result.message = "no usable rate point";
        } else if (!Untouched(rate)) {
            result.rate = rate;
        }
        return;
    }
    if (Untouched(rate) && Untouched(scale)) {
        result.message = "no field data";
    } else if (rate == 0.0f && scale == 0.0f) {
        result.message = "fit failed";
    } else {
        result.shape = rate;
        result.scale = scale;
    }
}

std::string CleanMessage(const char* message) {
    std::string text(message, strnlen(message, kMessageBufferBytes));
    if (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string SingleText(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

}  // namespace tavrin21::host
