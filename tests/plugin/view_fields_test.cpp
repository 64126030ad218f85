// The six view-field exports as the host calls them: the module loaded by path, host buffers
// with guard bytes behind what may be written, and records full of the host's own bytes.

#include "framework/module_state.h"
#include "framework/platform/dynamic_library.h"
#include "tavrin21/exports.h"
#include "tests/support/vectors.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <climits>
#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr char kGuard = '#';
constexpr std::int32_t kUntouched = -777;
using HostBuffer = std::array<char, 64>;

struct ViewFieldExports {
    framework::DynamicLibrary module = framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    GetViewFieldsFn getViewFields = module.Require<GetViewFieldsFn>("GetViewFields");
    GetFieldsCountFn getFieldsCount = module.Require<GetFieldsCountFn>("GetFieldsCount");
    GetTitleLinesCountFn getTitleLinesCount =
        module.Require<GetTitleLinesCountFn>("GetTitleLinesCount");
    GetFieldLengthFn getFieldLength = module.Require<GetFieldLengthFn>("GetFieldLength");
    GetFieldTitleFn getFieldTitle = module.Require<GetFieldTitleFn>("GetFieldTitle");
    GetFieldFn getField = module.Require<GetFieldFn>("GetField");
};

const ViewFieldExports& Module() {
    static const ViewFieldExports exports;
    return exports;
}

HostBuffer GuardedBuffer() {
    HostBuffer buffer;
    buffer.fill(kGuard);
    return buffer;
}

// How many bytes of the buffer were written: everything before the first untouched guard.
std::size_t WrittenBytes(const HostBuffer& buffer) {
    std::size_t written = buffer.size();
    while (written > 0 && buffer[written - 1] == kGuard) {
        --written;
    }
    return written;
}

ItemRecord HostRecord(std::uint8_t environment, float temperature) {
    ItemRecord item;
    auto* bytes = reinterpret_cast<unsigned char*>(&item);
    for (std::size_t i = 0; i < sizeof item; ++i) {
        bytes[i] = static_cast<unsigned char>(0x5A ^ (i * 7));
    }
    item.EnvironmentCode = environment;
    item.Temperature = temperature;
    return item;
}

struct FieldResult {
    std::int32_t status;
    HostBuffer buffer;
};

FieldResult GetField(std::int32_t field, std::int32_t view, ItemRecord& item) {
    FieldResult result{0, GuardedBuffer()};
    result.status = Module().getField(nullptr, nullptr, field, view, result.buffer.data(), &item);
    return result;
}

// The text of a field written with its NUL and nothing behind it.
void ExpectFieldText(const FieldResult& result, const std::string& expected) {
    EXPECT_EQ(result.status, StatusOk);
    EXPECT_EQ(std::string(result.buffer.data()), expected);
    EXPECT_EQ(WrittenBytes(result.buffer), expected.size() + 1);
}

TEST(ViewFieldExports, DescribeTwoFieldsWithTwoTitleLines) {
    std::int32_t count = kUntouched;
    std::int32_t fields[3] = {kUntouched, kUntouched, kUntouched};
    EXPECT_EQ(Module().getViewFields(nullptr, nullptr, 0, &count, fields), StatusOk);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(fields[0], 1);
    EXPECT_EQ(fields[1], 2);
    EXPECT_EQ(fields[2], kUntouched);

    count = kUntouched;
    EXPECT_EQ(Module().getFieldsCount(nullptr, nullptr, 0, &count), StatusOk);
    EXPECT_EQ(count, 2);
    count = kUntouched;
    EXPECT_EQ(Module().getTitleLinesCount(nullptr, nullptr, &count), StatusOk);
    EXPECT_EQ(count, 2);
}

TEST(ViewFieldExports, FieldLengthIsThirteenForEachFieldAndBadIndexOutside) {
    const struct {
        std::int32_t field;
        std::int32_t status;
        std::int32_t length;
    } rows[] = {{1, StatusOk, 13},
                {2, StatusOk, 13},
                {0, StatusBadIndex, kUntouched},
                {3, StatusBadIndex, kUntouched},
                {-1, StatusBadIndex, kUntouched},
                {INT_MIN, StatusBadIndex, kUntouched}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        std::int32_t length = kUntouched;
        EXPECT_EQ(Module().getFieldLength(nullptr, nullptr, row.field, 1, &length), row.status);
        EXPECT_EQ(length, row.length);
    }
}

TEST(ViewFieldExports, FieldTitleIsTheSameOnBothLinesAndBadIndexWritesNothing) {
    const struct {
        std::int32_t field;
        std::int32_t titleLine;
        const char* title;  // nullptr: StatusBadIndex
    } rows[] = {{1, 1, " Environment "}, {1, 2, " Environment "}, {2, 1, " Temperature "},
                {2, 2, " Temperature "}, {1, 3, nullptr},         {2, 3, nullptr},
                {2, 0, nullptr},         {0, 1, nullptr},         {3, 2, nullptr},
                {-1, -1, nullptr}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "field " << row.field << " line " << row.titleLine);
        HostBuffer buffer = GuardedBuffer();
        const std::int32_t status =
            Module().getFieldTitle(nullptr, nullptr, row.field, 0, buffer.data(), row.titleLine);
        if (row.title == nullptr) {
            EXPECT_EQ(status, StatusBadIndex);
            EXPECT_EQ(WrittenBytes(buffer), 0u);
            continue;
        }
        EXPECT_EQ(status, StatusOk);
        EXPECT_EQ(std::string(buffer.data()), row.title);
        EXPECT_EQ(WrittenBytes(buffer), 14u);
    }
}

TEST(ViewFieldExports, FieldTextsMatchIndependentVectors) {
    const nlohmann::json vectors = test::LoadVectors("format.json");
    const nlohmann::json& items = vectors.at("view_fields").at("items");
    ASSERT_EQ(items.size(), 17u);
    for (const nlohmann::json& row : items) {
        const auto code = row.at("environment_code").get<std::uint8_t>();
        const float temperature =
            test::SingleFromBits(row.at("temperature").at("bits").get<std::string>());
        SCOPED_TRACE(row.dump());
        ItemRecord item = HostRecord(code, temperature);
        ExpectFieldText(GetField(1, 0, item), row.at("field1").get<std::string>());
        ExpectFieldText(GetField(2, 0, item), row.at("field2").get<std::string>());
    }
}

TEST(ViewFieldExports, TemperatureColumnShowsTheNumberRightJustifiedInEleven) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const struct {
        const char* name;
        float temperature;
        const char* text;
    } rows[] = {
        {"two decimals", 25.5f, "       25.50 "},
        {"integer", 25.0f, "       25.00 "},
        {"negative", -40.0f, "      -40.00 "},
        {"zero", 0.0f, "        0.00 "},
        {"exactly eleven", 12345678.0f, " 12345678.00 "},
        {"signed exponent", -12345678.0f, " -1.235E+007 "},
        {"integer digits do not fit", 123456789.0f, " 1.2346E+008 "},
        {"huge", 1e30f, " 1.0000E+030 "},
        {"rounds to zero", 0.004f, " 4.0000E-003 "},
        {"negative rounds to zero", -0.004f, " -4.000E-003 "},
        {"half way", 0.125f, "        0.13 "},
        {"negative half way", -0.125f, "       -0.13 "},
        {"largest single", std::numeric_limits<float>::max(), "         --- "},
        {"infinity", kInfinity, "         --- "},
        {"negative infinity", -kInfinity, "         --- "},
        {"NaN", std::numeric_limits<float>::quiet_NaN(), "         NaN "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ItemRecord item = HostRecord(12, row.temperature);
        ExpectFieldText(GetField(2, 0, item), row.text);
    }
}

TEST(ViewFieldExports, EnvironmentColumnShowsTheCodeTextOrBlanksWithoutOne) {
    const struct {
        std::uint8_t code;
        const char* text;
    } rows[] = {{1, " GB                  "},  {12, " AIC                 "},
                {27, " CL                  "}, {0, "                     "},
                {28, "                     "}, {255, "                     "}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.code));
        ItemRecord item = HostRecord(row.code, 25.0f);
        ExpectFieldText(GetField(1, 0, item), row.text);
    }
}

// GetField changes no byte of the record but ViewBlockCopy, and that one only for a field in
// range with 1 in the low byte of view.
TEST(ViewFieldExports, GetFieldRefreshesViewBlockCopyOnlyForViewOneAndAFieldInRange) {
    const struct {
        std::int32_t field;
        std::int32_t view;
        bool copies;
    } rows[] = {{1, 1, true},  {2, 1, true},  {2, 0x101, true},  {1, -255, true},
                {1, 0, false}, {2, 2, false}, {1, 0x100, false}, {2, -1, false},
                {0, 1, false}, {3, 1, false}, {5, 1, false},     {-1, 1, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "field " << row.field << " view " << row.view);
        ItemRecord item = HostRecord(12, 25.5f);
        ItemRecord expected = item;
        if (row.copies) {
            std::memcpy(expected.ViewBlockCopy, expected.ViewBlock, kViewBlockBytes);
        }
        const bool inRange = row.field == 1 || row.field == 2;

        const FieldResult result = GetField(row.field, row.view, item);

        EXPECT_EQ(result.status, inRange ? StatusOk : StatusBadIndex);
        EXPECT_EQ(std::memcmp(&item, &expected, sizeof item), 0);
        if (!inRange) {
            EXPECT_EQ(WrittenBytes(result.buffer), 0u);
        }
    }
}

TEST(ViewFieldExports, NullPointersAreRefusedWithoutWriting) {
    ItemRecord item = HostRecord(12, 25.5f);
    const ItemRecord before = item;
    HostBuffer buffer = GuardedBuffer();
    std::int32_t count = kUntouched;
    const ViewFieldExports& module = Module();
    EXPECT_EQ(module.getViewFields(nullptr, nullptr, 0, nullptr, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getViewFields(nullptr, nullptr, 0, &count, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getFieldsCount(nullptr, nullptr, 0, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getTitleLinesCount(nullptr, nullptr, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getFieldLength(nullptr, nullptr, 1, 0, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getFieldTitle(nullptr, nullptr, 1, 0, nullptr, 1), StatusBadIndex);
    EXPECT_EQ(module.getField(nullptr, nullptr, 1, 1, nullptr, &item), StatusBadIndex);
    EXPECT_EQ(module.getField(nullptr, nullptr, 1, 1, buffer.data(), nullptr), StatusBadIndex);
    EXPECT_EQ(count, kUntouched);
    EXPECT_EQ(WrittenBytes(buffer), 0u);
    EXPECT_EQ(std::memcmp(&item, &before, sizeof item), 0);
}

TEST(ViewFieldExports, GiveTheCallersModuleStateBack) {
    ItemRecord item = HostRecord(12, 25.5f);
    HostBuffer buffer = GuardedBuffer();
    std::int32_t count = 0;
    Module().getField(nullptr, nullptr, 2, 1, buffer.data(), &item);
    Module().getField(nullptr, nullptr, 7, 1, buffer.data(), &item);
    Module().getFieldLength(nullptr, nullptr, 0, 0, &count);
    Module().getFieldTitle(nullptr, nullptr, 1, 0, nullptr, 1);
    EXPECT_EQ(framework::CurrentModuleState(), framework::ProcessModuleState());
}

}  // namespace
}  // namespace tavrin21
