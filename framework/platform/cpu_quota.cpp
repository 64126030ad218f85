#include "framework/platform/usable_processors.h"

#include <charconv>
#include <cstdint>

namespace framework {
namespace {

// A whole positive number making up all of text, or 0.
std::int64_t PositiveNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value > 0 ? value : 0;
}

}  // namespace

int QuotaProcessors(std::string_view quota, std::string_view period) {
    const std::int64_t quotaMicroseconds = PositiveNumber(quota);
    const std::int64_t periodMicroseconds = PositiveNumber(period);
    if (quotaMicroseconds == 0 || periodMicroseconds == 0) {
        return 0;
    }
    const std::int64_t whole = quotaMicroseconds / periodMicroseconds;
    return whole < 1 ? 1 : whole > 1'000'000 ? 1'000'000 : static_cast<int>(whole);
}

}  // namespace framework
