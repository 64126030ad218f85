// What the host shows of the texts it is given: message boxes reduced to an item's reason, and
// anything echoed made safe for a terminal.

#include "host/item_errors.h"
#include "host/terminal_text.h"

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

TEST(ParseMessageBox, ReducesEachFormToOneReasonWithItsState) {
    const struct {
        const char* name;
        std::string text;
        std::string sqlState;
        std::string reason;
    } rows[] = {
        {"driver tag and repeated native code",
         "Error reading the failure-rate table!\nHY000 (26) [SQLite]file is not a database "
         "(26)\nSELECT 1",
         "HY000", "database error: HY000 file is not a database"},
        {"without a first line",
         "42P01 (1) ERROR: relation \"frtable\" does not exist;\nError while executing the "
         "query\nSELECT 1",
         "42P01", "database error: 42P01 ERROR: relation \"frtable\" does not exist"},
        {"lost connection",
         "Error reading item from ZOVA library!\n57P01 (35) FATAL: terminating connection;\nSELECT "
         "1",
         "57P01", "database error: 57P01 FATAL: terminating connection"},
        {"password in the connect string",
         "Error opening database!\n08001 (101) failed\nDRIVER=x;Pwd=secret", "08001",
         "database error: 08001 failed"},
        {"unusable library row",
         "Unusable failure-rate table!\npart X, environment 3: slot \"nan\" is not a whole number "
         "from 0 to 15",
         "",
         "library error: part X, environment 3: slot \"nan\" is not a whole number from 0 to 15"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ItemError error = ParseMessageBox(row.text);
        EXPECT_EQ(error.sqlState, row.sqlState);
        EXPECT_EQ(error.reason, row.reason);
    }
}

TEST(Printable, EscapesControlCharactersAndCutsLongText) {
    const struct {
        const char* name;
        std::string text;
        std::string shown;
    } rows[] = {
        {"controls, UTF-8 kept",
         "\x1b]0;\xC2\xB5\x07\n\r\t\xC2\x9B"
         "2J",
         "\\x1b]0;\xC2\xB5\\x07\\n\\r\\t\\xc2\\x9b2J"},
        {"cut with an ellipsis", std::string(300, 'x'), std::string(200, 'x') + "..."},
        {"never inside a character", std::string(199, 'x') + "\xC2\xB5",
         std::string(199, 'x') + "..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Printable(row.text), row.shown);
    }
    // A character takes one column however many bytes it has.
    EXPECT_EQ(ShownWidth("Widerstand-\xC3\x84"
                         "1 \xE2\x82\xAC"),
              15u);
}

}  // namespace
}  // namespace tavrin21::host
