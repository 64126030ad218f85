#include "host/item_input.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

const std::vector<std::string> kHeader = {"PartNumber", "EnvironmentCode", "Temperature",
                                          "MethodCode", "Mode"};

TEST(ItemColumns, ParsesCodesOrTheirNamesInAnyColumnOrder) {
    const ItemColumns columns(
        {"Mode", "Temperature", "PartNumber", "MethodCode", "EnvironmentCode"});
    const auto parsed = columns.Parse({"2", " -40.5 ", "R-1", "102", "aic"});
    ASSERT_TRUE(std::holds_alternative<ItemInput>(parsed)) << std::get<std::string>(parsed);
    const ItemInput& item = std::get<ItemInput>(parsed);
    EXPECT_EQ(item.partNumber, "R-1");
    EXPECT_EQ(item.environmentCode, 12);
    EXPECT_EQ(item.temperature, -40.5f);
    EXPECT_EQ(item.methodCode, 102);
    EXPECT_EQ(item.mode, 2);
}

TEST(ItemColumns, RejectsBadRowsWithAReasonNamingTheValue) {
    const ItemColumns columns(kHeader);
    const struct {
        std::vector<std::string> row;
        std::string reason;
    } rows[] = {
        {{"P", "1", "25", "0"}, "expected 5 fields, found 4"},
        {{"P", "0", "25", "0", "0"}, "environment code \"0\" is not between 1 and 27"},
        {{"P", "28", "25", "0", "0"}, "environment code \"28\" is not between 1 and 27"},
        {{"P", "XX", "25", "0", "0"},
         "environment \"XX\" is neither 1 to 27 nor a code such as GB or AIC"},
        {{"P", "GB", "abc", "0", "0"}, "temperature \"abc\" is not a number"},
        {{"P", "GB", "1e39", "0", "0"},
         "temperature \"1e39\" is not a finite single-precision number"},
        {{"P", "GB", "25", "256", "0"}, "method code \"256\" is not a whole number from 0 to 255"},
        {{"P", "GB", "25", "0", "-1"}, "mode \"-1\" is not a whole number from 0 to 255"},
        {{std::string(63, 'p'), "GB", "25", "0", "0"},
         "part number \"" + std::string(63, 'p') + "\" is longer than 62 characters"},
    };
    for (const auto& row : rows) {
        const auto parsed = columns.Parse(row.row);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << row.reason;
        EXPECT_EQ(std::get<std::string>(parsed), row.reason);
    }
}

TEST(ItemColumns, HeaderMustNameEachColumnOnce) {
    const struct {
        std::vector<std::string> header;
        std::string reason;
    } rows[] = {
        {{"PartNumber", "EnvironmentCode", "Temperature", "MethodCode"},
         "the header has no column Mode"},
        {{"PartNumber", "EnvironmentCode", "Temperature", "MethodCode", "Mode", "MODE"},
         "the header names column Mode twice"},
        {{"PartNumber", "EnvCode", "Temperature", "MethodCode", "Mode"},
         "the header has no column EnvironmentCode"},
        {{"PartNumber;EnvironmentCode;Temperature;MethodCode;Mode"},
         "the header has no column PartNumber (fields are separated by commas, and this header "
         "has semicolons)"},
    };
    for (const auto& row : rows) {
        try {
            ItemColumns columns(row.header);
            ADD_FAILURE() << row.reason;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), row.reason);
        }
    }
}

TEST(MakeItemRecord, SetsTheItemFieldsAndZeroesEveryOtherByte) {
    ItemInput input{std::string(62, 'x'), 27, 85.25f, 150, 2};
    const ItemRecord record = MakeItemRecord(input);
    ItemRecord expected;
    std::memset(&expected, 0, sizeof expected);
    expected.EnvironmentCode = 27;
    expected.MethodCode = 150;
    expected.Temperature = 85.25f;
    std::memset(expected.PartNumber, 'x', 62);
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
}

}  // namespace
}  // namespace tavrin21::host
