#include "catalogue/permission_kinds.h"

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(PermissionKinds, ExecuteReadAndModifyInThatOrder) {
    const PermissionKindTable kinds;
    ASSERT_EQ(kinds.Size(), 3u);
    const struct {
        const char* key;
        const char* text;
    } expected[] = {
        {"_EXECUTE", "Execute"},
        {"_READ", "Permission to Read"},
        {"_WRITE", "Permission to Modify"},
    };
    for (std::size_t row = 0; row < kinds.Size(); ++row) {
        SCOPED_TRACE(row + 1);
        EXPECT_EQ(kinds[row].key, expected[row].key);
        EXPECT_EQ(kinds[row].text, expected[row].text);
    }
}

}  // namespace
}  // namespace tavrin21
