#include "library/failure_library.h"

#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(BuildPartQuery, SelectsThePartsRowsInTimeOrder) {
    const struct {
        const char* name;
        std::string partNumber;
        std::uint8_t envCode;
        std::uint8_t procCode;
        const char* expected;
    } rows[] = {
        {"plain", "RLY-2210", 3, 0,
         "SELECT * FROM PartFR WHERE PartNumber='RLY-2210' AND EnvCode = 3 AND ProcCode = 0 "
         "ORDER BY TimeNumber"},
        {"one apostrophe", "AB'12", 5, 0,
         "SELECT * FROM PartFR WHERE PartNumber='AB''12' AND EnvCode = 5 AND ProcCode = 0 "
         "ORDER BY TimeNumber"},
        {"apostrophes at both ends and doubled", "'X''", 1, 0,
         "SELECT * FROM PartFR WHERE PartNumber='''X''''' AND EnvCode = 1 AND ProcCode = 0 "
         "ORDER BY TimeNumber"},
        {"codes are unsigned bytes", "P", 255, 200,
         "SELECT * FROM PartFR WHERE PartNumber='P' AND EnvCode = 255 AND ProcCode = 200 "
         "ORDER BY TimeNumber"},
        {"empty part number", "", 0, 0,
         "SELECT * FROM PartFR WHERE PartNumber='' AND EnvCode = 0 AND ProcCode = 0 "
         "ORDER BY TimeNumber"},
    };
    const FailureLibrary library("", "");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PartFailureRecord key;
        key.PartNumber = row.partNumber;
        key.EnvCode = row.envCode;
        key.ProcCode = row.procCode;
        EXPECT_EQ(library.BuildPartQuery(key), row.expected);
    }
}

}  // namespace
}  // namespace tavrin21
