#include "host/item_result.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tavrin21::host {
namespace {

// What the host shows of calc_item's answer: a number only where the module wrote one to trust.
// (Table rates, fits and parts without field data are also checked end to end.)
TEST(TakeModuleResults, ShowsOnlyNumbersTheModuleWrote) {
    const float kLeft = std::nanf("");  // not written: the record keeps its preset
    const struct {
        const char* name;
        std::uint8_t methodCode, mode;
        float rate, scale;
        const char* method;
        std::optional<float> shownRate, shownShape;
        std::string message;
    } rows[] = {
        {"a table rate of zero is a rate", 101, 0, 0.0f, kLeft, "logarithmic", 0.0f, {}, ""},
        {"variant 99", 199, 1, 2.0f, kLeft, "straight line", 2.0f, {}, ""},
        {"code 200 is variant 0", 200, 0, 2.0f, kLeft, "logarithmic", 2.0f, {}, ""},
        {"field data left alone", 102, 2, kLeft, kLeft, "field data", {}, {}, "no field data"},
        {"fit failed", 0, 2, 0.0f, 0.0f, "field data", {}, {}, "fit failed"},
        {"a fitted shape", 0, 2, 1.5f, 80.0f, "field data", {}, 1.5f, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ItemRecord record{};
        PresetResultFields(record);
        if (!std::isnan(row.rate)) {
            record.ResultRate = row.rate;
            record.ResultScale = row.scale;
        }
        ItemResult result;
        result.input.methodCode = row.methodCode;
        result.input.mode = row.mode;
        TakeModuleResults(result, StatusCalculated, "", record);
        EXPECT_STREQ(MethodName(result.input), row.method);
        EXPECT_EQ(result.rate, row.shownRate);
        EXPECT_EQ(result.shape, row.shownShape);
        EXPECT_EQ(result.scale.has_value(), row.shownShape.has_value());
        EXPECT_EQ(result.message, row.message);
    }
}

}  // namespace
}  // namespace tavrin21::host
