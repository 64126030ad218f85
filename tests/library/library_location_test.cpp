#include "library/library_location.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr int kNoDrive = -1;  // JoinPath rather than JoinDrivePath
const std::string kTooLong = "(longer than 199 characters)";

TEST(JoinPath, EachNonEmptyPartAfterABackslashFromTheRootOfADrive) {
    const std::string n191(191, 'n');
    const std::string n194(194, 'n');
    const struct {
        int drive;
        std::string first, second, third, expected;
    } rows[] = {
        {kNoDrive, "LIB", "zova.mdb", "", "\\LIB\\zova.mdb"},
        {kNoDrive, "a", "b", "c", "\\a\\b\\c"},
        {kNoDrive, "", "", "", ""},
        {3, "PROJ", "x.mdb", "", "D:\\\\PROJ\\x.mdb"},
        {2, "", "", "", "C:\\"},
        // An empty drive text gives the NUL character as its letter, which ends the drive part.
        {DriveIndex(""), "PROJ", "x.mdb", "", "\\PROJ\\x.mdb"},
        {kNoDrive, "LIB", n194, "", "\\LIB\\" + n194},
        {kNoDrive, "LIB", n194 + "n", "", kTooLong},
        {3, "LIB", n191, "", "D:\\\\LIB\\" + n191},
        {3, "LIB", n191 + "n", "", kTooLong},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected.substr(0, 20));
        std::string path;
        try {
            path = row.drive == kNoDrive ? JoinPath(row.first, row.second, row.third)
                                         : JoinDrivePath(static_cast<std::uint8_t>(row.drive),
                                                         row.first, row.second, row.third);
        } catch (const std::length_error&) {
            path = kTooLong;
        }
        EXPECT_EQ(path, row.expected);
    }
}

}  // namespace
}  // namespace tavrin21
