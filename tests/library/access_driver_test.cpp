#include "library/access_driver.h"

#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(FindAccessDriver, FirstEntryThatSaysAccessExactlySo) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string list;  // entries ended by NUL, then an empty entry
        const char* expected;
    } rows[] = {
        {"first of two", "SQLite3\0Microsoft Access Driver (*.mdb)\0Access 2\0\0"s,
         "Microsoft Access Driver (*.mdb)"},
        {"anywhere in the entry", "Driver for Access files\0\0"s, "Driver for Access files"},
        {"lower case is another word", "microsoft access driver (*.mdb)\0ACCESS\0\0"s, ""},
        {"none", "SQLite3\0PostgreSQL Unicode\0\0"s, ""},
        {"empty list", "\0\0"s, ""},
        {"nothing after the empty entry counts", "SQLite3\0\0Access\0\0"s, ""},
        {"a list without its end is read no further than given", "SQLite3\0Acc"s, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindAccessDriver(row.list.data(), row.list.size()), row.expected);
    }
}

// The driver list of this test program: the Access driver on top of the SQLite driver.
TEST(AccessDriverName, TheInstalledAccessDriver) {
    ASSERT_NE(std::getenv("ODBCSYSINI"), nullptr) << "run through ctest, which sets ODBCSYSINI";
    EXPECT_EQ(AccessDriverName(), "Microsoft Access Driver (*.mdb)");
}

}  // namespace
}  // namespace tavrin21
