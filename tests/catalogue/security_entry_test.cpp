#include "catalogue/security_entry.h"

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(SecurityEntryArray, StartsEmptyAndGrowsOneElementAtATime) {
    SecurityEntryArray entries;
    EXPECT_TRUE(entries.IsEmpty());
    EXPECT_EQ(entries.GrowBy(), 1u);
    for (std::size_t count = 1; count <= 5; ++count) {
        entries.Add(SecurityEntry{});
        EXPECT_EQ(entries.Size(), count);
        EXPECT_EQ(entries.Capacity(), count);
    }
    EXPECT_EQ(SecurityEntryItemArray().GrowBy(), 1u);
}

TEST(SecurityEntry, NewRecordsHoldZerosEmptyTextsAndTheFirstFlagSet) {
    const SecurityEntry entry;
    EXPECT_EQ(entry.number, 0);
    for (const std::string& text : entry.texts) {
        EXPECT_EQ(text, "");
    }
    EXPECT_TRUE(entry.items.IsEmpty());

    const SecurityEntryItem item;
    EXPECT_EQ(item.numbers, (std::array<std::int32_t, 2>{0, 0}));
    EXPECT_EQ(item.text, "");
    EXPECT_EQ(item.detail.numbers, (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(item.detail.bytes, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(item.detail.texts, (std::array<std::string, 3>{}));
    EXPECT_EQ(item.detail.flags, (std::array<std::uint8_t, 3>{1, 0, 0}));
}

}  // namespace
}  // namespace tavrin21
