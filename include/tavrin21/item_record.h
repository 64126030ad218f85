#pragma once

// The host's record of one item, shared byte for byte with the host. The module reads and writes
// only the named fields; every reserved byte belongs to the host and is never changed.

#include <cstddef>
#include <cstdint>

namespace tavrin21 {

inline constexpr std::size_t kPartNumberBytes = 63;  // text and its NUL
inline constexpr std::size_t kPartNumberMaxLength = 62;
inline constexpr std::size_t kViewBlockBytes = 102;
inline constexpr std::size_t kItemRecordBytes = 0x162;

#pragma pack(push, 1)
struct ItemRecord {
    std::uint8_t Reserved00[0x28];
    std::uint8_t EnvironmentCode;  // 1-based index of the 27 environments (1 = GB .. 27 = CL)
    std::uint8_t Reserved29;
    std::uint8_t MethodCode;  // 100..199 selects the table method's interpolation variant
    std::uint8_t Reserved2B[0x32 - 0x2B];
    float Temperature;                  // degrees Celsius
    char PartNumber[kPartNumberBytes];  // NUL-terminated; empty when the item has no part number
    std::uint8_t Reserved75[0x77 - 0x75];
    float ResultRate;          // table method: failure rate; field-data method: Weibull shape
    float ResultAux1;          // 1.0 after every calculation
    std::uint32_t ResultAux2;  // 0 after every calculation
    std::uint8_t Reserved83[0x87 - 0x83];
    float ResultScale;  // field-data method: Weibull scale, in the library's time unit
    std::uint8_t Reserved8B[0x96 - 0x8B];
    std::uint8_t ViewBlock[kViewBlockBytes];
    std::uint8_t ViewBlockCopy[kViewBlockBytes];
};
#pragma pack(pop)

static_assert(offsetof(ItemRecord, EnvironmentCode) == 0x28);
static_assert(offsetof(ItemRecord, MethodCode) == 0x2A);
static_assert(offsetof(ItemRecord, Temperature) == 0x32);
static_assert(offsetof(ItemRecord, PartNumber) == 0x36);
static_assert(offsetof(ItemRecord, ResultRate) == 0x77);
static_assert(offsetof(ItemRecord, ResultAux1) == 0x7B);
static_assert(offsetof(ItemRecord, ResultAux2) == 0x7F);
static_assert(offsetof(ItemRecord, ResultScale) == 0x87);
static_assert(offsetof(ItemRecord, ViewBlock) == 0x96);
static_assert(offsetof(ItemRecord, ViewBlockCopy) == 0xFC);
static_assert(sizeof(ItemRecord) == kItemRecordBytes);
static_assert(sizeof(float) == 4);

}  // namespace tavrin21
