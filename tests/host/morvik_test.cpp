// The host library's lookup, called as the module calls it.

#include "morvik/morvik.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/database.h"
#include "framework/message_box.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

namespace {

using tavrin21::TabledRateRecord;

class AccGetFromTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        tavrin21::test::MakeSqliteLibrary(
            scratch_ / "lib.sqlite",
            {"INSERT INTO FRTable VALUES ('A', 3, -40, 85.5)",
             "INSERT INTO FRTablePoint VALUES ('A', 3, 15, 70, 0.25)",
             "INSERT INTO FRTablePoint VALUES ('A', 3, 2, 20, 0.125)"});
        database_.Open(tavrin21::test::SqliteConnectString(scratch_ / "lib.sqlite"));
    }

    // A record full of another part's points, as the module's record is between calls.
    static TabledRateRecord StaleRecord(const char* part, std::uint8_t environment) {
        TabledRateRecord record;
        std::memset(&record, 0x5A, sizeof record);
        std::strcpy(record.PartNumber, part);
        record.EnvironmentCode = environment;
        return record;
    }

    tavrin21::test::ScratchDirectory scratch_;
    framework::Database database_;
};

TEST_F(AccGetFromTableTest, FillsEverySlotAndTheLimitsOfAFoundPart) {
    TabledRateRecord record = StaleRecord("A", 3);
    const std::string part = "A";
    ASSERT_EQ(AccGetFromTable(0, &part, &record, &database_, &database_), 1);
    EXPECT_EQ(float{record.MinTemperature}, -40.0f);
    EXPECT_EQ(float{record.MaxTemperature}, 85.5f);
    for (std::size_t slot = 0; slot < tavrin21::kTabledPointCount; ++slot) {
        SCOPED_TRACE(slot);
        const float temperature = record.Points[slot].Temperature;
        const float rate = record.Points[slot].Rate;
        const float expectedTemperature = slot == 2 ? 20.0f : slot == 15 ? 70.0f : 0.0f;
        const float expectedRate = slot == 2 ? 0.125f : slot == 15 ? 0.25f : 0.0f;
        EXPECT_EQ(temperature, expectedTemperature);
        EXPECT_EQ(rate, expectedRate);
    }
    EXPECT_STREQ(record.PartNumber, "A");
    EXPECT_EQ(record.Reserved40, 0x5A);
}

TEST_F(AccGetFromTableTest, LeavesTheRecordAloneWhenNothingIsFound) {
    const struct {
        const char* name;
        std::int32_t selector;
        const char* part;
        std::uint8_t environment;
    } rows[] = {{"unknown part", 0, "B", 3},
                {"unknown environment", 0, "A", 4},
                {"another table selected", 1, "A", 3},
                {"key with a quote", 0, "A' OR 'x'='x", 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TabledRateRecord record = StaleRecord(row.part, row.environment);
        const TabledRateRecord before = record;
        const std::string part = row.part;
        EXPECT_EQ(AccGetFromTable(row.selector, &part, &record, &database_, &database_), 0);
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    }
}

TEST_F(AccGetFromTableTest, ShowsADatabaseErrorAndStillSearchesTheSecondary) {
    framework::Database bare;
    bare.Open(tavrin21::test::SqliteConnectString(scratch_ / "bare.sqlite"));
    int shown = 0;
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        ++shown;
        EXPECT_NE(text.find("FRTable"), std::string::npos) << text;
        return framework::kIdOk;
    });
    TabledRateRecord record = StaleRecord("A", 3);
    const std::string part = "A";
    EXPECT_EQ(AccGetFromTable(0, &part, &record, &bare, &database_), 1);
    EXPECT_EQ(shown, 1);
}

}  // namespace
