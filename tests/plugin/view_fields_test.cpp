// The six view-field exports as the host calls them: the module loaded by path, host buffers
// with guard bytes behind what may be written, and records full of the host's own bytes.

#include "framework/module_state.h"
#include "framework/platform/dynamic_library.h"
#include "tavrin21/exports.h"
#include "tests/support/vectors.h"

#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <climits>
#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr char kGuard = '#';
constexpr std::int32_t kUntouched = -777;
using namespace std::string_literals;

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

// A status and what was written into a guarded host buffer: everything up to the last byte
// that is not a guard.
using Written = std::pair<std::int32_t, std::string>;

template <typename Call>
Written IntoHostBuffer(Call call) {
    std::string buffer(64, kGuard);
    const std::int32_t status = call(buffer.data());
    return {status, buffer.substr(0, buffer.find_last_not_of(kGuard) + 1)};
}

Written GetField(std::int32_t field, std::int32_t view, ItemRecord& item) {
    return IntoHostBuffer([&](char* buffer) {
        return Module().getField(nullptr, nullptr, field, view, buffer, &item);
    });
}

Written GetFieldTitle(std::int32_t field, std::int32_t titleLine) {
    return IntoHostBuffer([&](char* buffer) {
        return Module().getFieldTitle(nullptr, nullptr, field, 0, buffer, titleLine);
    });
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

// Both lines of a heading carry the same title.
TEST(ViewFieldExports, DescribeTwoColumnsOfThirteenWithTwoTitleLines) {
    std::int32_t fields[3] = {kUntouched, kUntouched, kUntouched};
    std::int32_t viewCount = kUntouched, fieldsCount = kUntouched, lineCount = kUntouched;
    EXPECT_EQ(Module().getViewFields(nullptr, nullptr, 0, &viewCount, fields), StatusOk);
    EXPECT_EQ(Module().getFieldsCount(nullptr, nullptr, 0, &fieldsCount), StatusOk);
    EXPECT_EQ(Module().getTitleLinesCount(nullptr, nullptr, &lineCount), StatusOk);
    EXPECT_EQ((std::vector{viewCount, fields[0], fields[1], fields[2], fieldsCount, lineCount}),
              (std::vector{2, 1, 2, kUntouched, 2, 2}));
    const std::string titles[] = {" Environment \0"s, " Temperature \0"s};
    for (std::int32_t field = 1; field <= 2; ++field) {
        std::int32_t length = kUntouched;
        EXPECT_EQ(Module().getFieldLength(nullptr, nullptr, field, 1, &length), StatusOk);
        EXPECT_EQ(length, 13);
        EXPECT_EQ(GetFieldTitle(field, 1), Written(StatusOk, titles[field - 1]));
        EXPECT_EQ(GetFieldTitle(field, 2), Written(StatusOk, titles[field - 1]));
    }
}

// Both texts of an item, each written with its NUL and nothing behind it; the record unchanged.
void ExpectFieldTexts(std::uint8_t code,
                      float temperature,
                      const std::string& environment,
                      const std::string& temperatureText) {
    SCOPED_TRACE(testing::Message() << "code " << int(code) << " temperature " << temperature);
    ItemRecord item = HostRecord(code, temperature);
    const ItemRecord before = item;
    EXPECT_EQ(GetField(1, 0, item), Written(StatusOk, environment + '\0'));
    EXPECT_EQ(GetField(2, 0, item), Written(StatusOk, temperatureText + '\0'));
    EXPECT_EQ(std::memcmp(&item, &before, sizeof item), 0);
}

TEST(ViewFieldExports, FieldTextsMatchVectors) {
    const nlohmann::json items = test::LoadVectors("format.json").at("view_fields").at("items");
    ASSERT_EQ(items.size(), 17u);
    for (const nlohmann::json& item : items) {
        ExpectFieldTexts(item.at("environment_code").get<std::uint8_t>(),
                         test::SingleFromBits(item.at("temperature").at("bits").get<std::string>()),
                         item.at("field1").get<std::string>(),
                         item.at("field2").get<std::string>());
    }
    // What the vectors cannot hold: codes without a name, the float's NaN and negative infinity.
    const std::string blanks(21, ' ');
    ExpectFieldTexts(0, std::numeric_limits<float>::quiet_NaN(), blanks, "         NaN ");
    ExpectFieldTexts(28, -std::numeric_limits<float>::infinity(), blanks, "         --- ");
    ExpectFieldTexts(255, 25.0f, blanks, "       25.00 ");
}

// GetField changes no byte of the record but ViewBlockCopy, and that one only when the low
// byte of view is 1.
TEST(ViewFieldExports, GetFieldRefreshesViewBlockCopyOnlyWhenTheViewsLowByteIsOne) {
    const struct {
        std::int32_t view;
        bool copies;
    } rows[] = {{1, true},  {0x101, true},  {-255, true}, {INT_MIN + 1, true},
                {0, false}, {0x100, false}, {2, false},   {-1, false}};
    for (const auto& row : rows) {
        for (std::int32_t field = 1; field <= 2; ++field) {
            SCOPED_TRACE(testing::Message() << "field " << field << " view " << row.view);
            ItemRecord item = HostRecord(12, 25.5f);
            ItemRecord expected = item;
            if (row.copies) {
                std::memcpy(expected.ViewBlockCopy, expected.ViewBlock, kViewBlockBytes);
            }
            EXPECT_EQ(GetField(field, row.view, item).first, StatusOk);
            EXPECT_EQ(std::memcmp(&item, &expected, sizeof item), 0);
        }
    }
    EXPECT_EQ(framework::CurrentModuleState(), framework::ProcessModuleState());
}

// A field or title line out of range writes nothing at all: no length, no text, and no
// ViewBlockCopy even for view 1.
TEST(ViewFieldExports, OutOfRangeIsBadIndexAndWritesNothing) {
    const struct {
        std::int32_t field;
        std::int32_t titleLine;
    } rows[] = {{0, 1}, {3, 1}, {-1, 1}, {INT_MIN, 1}, {INT_MAX, 2},
                {1, 0}, {1, 3}, {2, 3},  {2, -1},      {-1, -1}};
    const Written nothing(StatusBadIndex, "");
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "field " << row.field << " line " << row.titleLine);
        EXPECT_EQ(GetFieldTitle(row.field, row.titleLine), nothing);
        if (row.field == 1 || row.field == 2) {
            continue;
        }
        std::int32_t length = kUntouched;
        EXPECT_EQ(Module().getFieldLength(nullptr, nullptr, row.field, 1, &length), StatusBadIndex);
        EXPECT_EQ(length, kUntouched);
        ItemRecord item = HostRecord(12, 25.5f);
        const ItemRecord before = item;
        EXPECT_EQ(GetField(row.field, 1, item), nothing);
        EXPECT_EQ(std::memcmp(&item, &before, sizeof item), 0);
    }
}

TEST(ViewFieldExports, NullPointersAreRefusedWithoutWriting) {
    ItemRecord item = HostRecord(12, 25.5f);
    const ItemRecord before = item;
    std::int32_t count = kUntouched;
    const ViewFieldExports& module = Module();
    EXPECT_EQ(module.getViewFields(nullptr, nullptr, 0, nullptr, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getViewFields(nullptr, nullptr, 0, &count, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getFieldsCount(nullptr, nullptr, 0, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getTitleLinesCount(nullptr, nullptr, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getFieldLength(nullptr, nullptr, 1, 0, nullptr), StatusBadIndex);
    EXPECT_EQ(module.getFieldTitle(nullptr, nullptr, 1, 0, nullptr, 1), StatusBadIndex);
    EXPECT_EQ(module.getField(nullptr, nullptr, 1, 1, nullptr, &item), StatusBadIndex);
    char buffer[64];
    EXPECT_EQ(module.getField(nullptr, nullptr, 1, 1, buffer, nullptr), StatusBadIndex);
    EXPECT_EQ(count, kUntouched);
    EXPECT_EQ(std::memcmp(&item, &before, sizeof item), 0);
}

}  // namespace
}  // namespace tavrin21
