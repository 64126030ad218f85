#include "host/item_result.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

// What the host shows of calc_item's answer: a number only where the module wrote one to trust.
TEST(TakeModuleResults, ShowsOnlyNumbersTheModuleWrote) {
    const float kLeft = std::nanf("");  // stands for "not written": the record keeps its preset
    const struct {
        const char* name;
        std::uint8_t methodCode, mode;
        std::int32_t status;
        float rate, scale;
        const char* method;
        std::optional<float> shownRate, shownShape, shownScale;
        std::string message;
    } rows[] = {
        {"table rate", 0, 0, StatusCalculated, 0.5f, kLeft, "logarithmic", 0.5f, {}, {}, ""},
        {"table rate zero", 101, 0, StatusCalculated, 0.0f, kLeft, "logarithmic", 0.0f, {}, {}, ""},
        {"straight line", 102, 0, StatusCalculated, 2.0f, kLeft, "straight line", 2.0f, {}, {}, ""},
        {"variant 99", 199, 1, StatusCalculated, 2.0f, kLeft, "straight line", 2.0f, {}, {}, ""},
        {"code 200 is variant 0",
         200,
         0,
         StatusCalculated,
         2.0f,
         kLeft,
         "logarithmic",
         2.0f,
         {},
         {},
         ""},
        {"table failed", 0, 0, StatusFailed, kLeft, kLeft, "logarithmic", {}, {}, {}, "why"},
        {"weibull fit", 150, 2, StatusCalculated, 1.5f, 80.0f, "field data", {}, 1.5f, 80.0f, ""},
        {"no field data",
         0,
         2,
         StatusCalculated,
         kLeft,
         kLeft,
         "field data",
         {},
         {},
         {},
         "no field data"},
        {"fit failed", 0, 2, StatusCalculated, 0.0f, 0.0f, "field data", {}, {}, {}, "fit failed"},
        {"field data refused", 0, 2, StatusFailed, kLeft, kLeft, "field data", {}, {}, {}, "why"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ItemRecord record{};
        PresetResultFields(record);
        if (!std::isnan(row.rate)) {
            record.ResultRate = row.rate;
        }
        if (!std::isnan(row.scale)) {
            record.ResultScale = row.scale;
        }
        ItemResult result;
        result.input.methodCode = row.methodCode;
        result.input.mode = row.mode;
        TakeModuleResults(result, row.status, row.status == StatusFailed ? " why\n" : "", record);
        EXPECT_STREQ(MethodName(result.input), row.method);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.rate, row.shownRate);
        EXPECT_EQ(result.shape, row.shownShape);
        EXPECT_EQ(result.scale, row.shownScale);
        EXPECT_EQ(result.message, row.message);
    }
}

}  // namespace
}  // namespace tavrin21::host
