#pragma once

// The 27 operating environments of the military reliability-prediction handbook, by their
// 1-based code. Code 0 and codes above 27 have no name.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrin21 {

inline constexpr int kEnvironmentCount = 27;

inline constexpr std::array<std::string_view, kEnvironmentCount> EnvironmentNames = {
    "GB",  "GMS", "GF",  "GM",  "MP",  "NSB", "NS",  "NU", "NH",  "NUU", "ARW", "AIC", "AIT", "AIB",
    "AIA", "AIF", "AUC", "AUT", "AUB", "AUA", "AUF", "SF", "MFF", "MFA", "USL", "ML",  "CL"};

// The name of a code, or nothing for a code outside 1..27.
constexpr std::optional<std::string_view> EnvironmentName(int code) {
    if (code < 1 || code > kEnvironmentCount) {
        return std::nullopt;
    }
    return EnvironmentNames[static_cast<std::size_t>(code - 1)];
}

// The code of a name (exact, upper case as the handbook writes them), or nothing.
constexpr std::optional<std::uint8_t> EnvironmentCodeOf(std::string_view name) {
    for (std::size_t i = 0; i < EnvironmentNames.size(); ++i) {
        if (EnvironmentNames[i] == name) {
            return static_cast<std::uint8_t>(i + 1);
        }
    }
    return std::nullopt;
}

}  // namespace tavrin21
