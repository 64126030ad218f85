#pragma once

// The record in which the host calculation library returns a part's tabled failure-rate points.
// Its layout is fixed by the host library.

#include <cstddef>
#include <cstdint>

namespace tavrin21 {

inline constexpr std::size_t kTabledPointCount = 16;
inline constexpr std::size_t kTabledRateRecordBytes = 216;

#pragma pack(push, 1)
struct TabledRatePoint {
    float Temperature;  // degrees Celsius
    float Rate;         // failure rate at that temperature; 0.0 marks an empty slot
};

struct TabledRateRecord {
    char PartNumber[63];  // the key, NUL-terminated
    std::uint8_t EnvironmentCode;
    std::uint8_t Reserved40;
    TabledRatePoint Points[kTabledPointCount];  // in no particular order
    std::uint8_t ReservedC1[2];
    float MinTemperature;
    float MaxTemperature;
    std::uint8_t ReservedCB[kTabledRateRecordBytes - 0xCB];
};
#pragma pack(pop)

static_assert(sizeof(TabledRatePoint) == 8);
static_assert(offsetof(TabledRatePoint, Rate) == 4);
static_assert(offsetof(TabledRateRecord, EnvironmentCode) == 0x3F);
static_assert(offsetof(TabledRateRecord, Points) == 0x41);
static_assert(offsetof(TabledRateRecord, MinTemperature) == 0xC3);
static_assert(offsetof(TabledRateRecord, MaxTemperature) == 0xC7);
static_assert(sizeof(TabledRateRecord) == kTabledRateRecordBytes);

}  // namespace tavrin21
