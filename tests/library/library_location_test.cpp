#include "library/library_location.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(JoinPath, EachNonEmptyPartAfterABackslash) {
    EXPECT_EQ(JoinPath("LIB", "zova.mdb", ""), "\\LIB\\zova.mdb");
    EXPECT_EQ(JoinPath("EMPRJ", "", ""), "\\EMPRJ");
    EXPECT_EQ(JoinPath("", "x.mdb", ""), "\\x.mdb");
    EXPECT_EQ(JoinPath("a", "b", "c"), "\\a\\b\\c");
    EXPECT_EQ(JoinPath("", "", ""), "");
}

TEST(JoinDrivePath, DriveLetterColonBackslashThenTheParts) {
    const struct {
        std::uint8_t index;
        const char* directory;
        const char* file;
        const char* expected;
    } rows[] = {
        {3, "PROJ", "x.mdb", "D:\\\\PROJ\\x.mdb"},
        {0, "", "x.mdb", "A:\\\\x.mdb"},
        {2, "", "", "C:\\"},
        {25, "a b", "c.mdb", "Z:\\\\a b\\c.mdb"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(JoinDrivePath(row.index, row.directory, row.file, ""), row.expected);
    }
}

TEST(DriveIndex, LetterInEitherCaseAndNoLetterForAnEmptyDrive) {
    EXPECT_EQ(DriveIndex("D"), 3);
    EXPECT_EQ(DriveIndex("d:"), 3);
    EXPECT_EQ(DriveIndex("a"), 0);
    // The NUL of an empty text: its index makes the NUL character again, so no drive part.
    EXPECT_EQ(DriveIndex(""), static_cast<std::uint8_t>('\0' - 'A'));
    EXPECT_EQ(JoinDrivePath(DriveIndex(""), "PROJ", "x.mdb", ""), "\\PROJ\\x.mdb");
}

TEST(JoinPath, NothingLongerThan199Characters) {
    const std::string name(199 - 5, 'n');
    EXPECT_EQ(JoinPath("LIB", name, "").size(), 199u);
    EXPECT_THROW(JoinPath("LIB", name + "n", ""), std::length_error);
    EXPECT_EQ(JoinDrivePath(3, "LIB", std::string(199 - 8, 'n'), "").size(), 199u);
    EXPECT_THROW(JoinDrivePath(3, "LIB", std::string(199 - 7, 'n'), ""), std::length_error);
    EXPECT_THROW(JoinPath(std::string(5000, 'x'), "y", "z"), std::length_error);
}

}  // namespace
}  // namespace tavrin21
