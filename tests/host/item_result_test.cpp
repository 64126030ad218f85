#include "host/item_result.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

std::string Shown(const std::optional<float>& value) {
    return value ? SingleText(*value) : "-";
}

// What the host shows of calc_item's answer: a number only where the module wrote one to trust.
TEST(TakeModuleResults, ShowsOnlyNumbersTheModuleWrote) {
    const float kLeft = std::nanf("");  // not written: the record keeps its preset
    const struct {
        const char* name;
        std::uint8_t methodCode, mode;
        float rate, scale;
        std::string expected;  // method; rate, shape, scale ("-": none); message
    } rows[] = {
        {"no usable point", 101, 0, 0.0f, kLeft, "logarithmic; - - -; no usable rate point"},
        {"a tiny rate", 0, 0, 1e-30f, kLeft, "logarithmic; 1e-30 - -; "},
        {"variant 99", 199, 1, 2.0f, kLeft, "straight line; 2 - -; "},
        {"code 200 is variant 0", 200, 0, 2.0f, kLeft, "logarithmic; 2 - -; "},
        {"field data left alone", 102, 2, kLeft, kLeft, "field data; - - -; no field data"},
        {"fit failed", 0, 2, 0.0f, 0.0f, "field data; - - -; fit failed"},
        {"a fitted shape", 0, 2, 1.5f, 80.0f, "field data; - 1.5 80; "},
    };
    for (const auto& row : rows) {
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
        EXPECT_EQ(MethodName(result.input) + ("; " + Shown(result.rate)) + " " +
                      Shown(result.shape) + " " + Shown(result.scale) + "; " + result.message,
                  row.expected)
            << row.name;
    }
}

}  // namespace
}  // namespace tavrin21::host
