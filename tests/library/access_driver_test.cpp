// The Access driver in the installer's driver list: NUL-ended entries, an empty one at the end.
// That the list is asked for and walked is seen when library files are opened.

#include "library/access_driver.h"

#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(FindAccessDriver, FirstEntryContainingAccessExactlySo) {
    using namespace std::string_literals;
    const struct {
        std::string drivers;
        std::string expected;
    } rows[] = {
        {"SQLite3\0Microsoft Access Driver (*.mdb)\0Access 2\0\0"s,
         "Microsoft Access Driver (*.mdb)"},
        {"SQLite3\0microsoft access driver (*.mdb)\0\0"s, ""},
        {"\0Access\0\0"s, ""},           // the list ends at the first empty entry
        {"SQLite3\0Access"s, "Access"},  // an entry cut by the buffer's end counts as it is
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(FindAccessDriver(row.drivers.data(), row.drivers.size()), row.expected);
    }
}

}  // namespace
}  // namespace tavrin21
