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

// Calls the named export of the module loaded by path as the host does: two unused pointers first.
template <typename Fn, typename... Args>
std::int32_t Call(const char* name, Args... args) {
    static const auto module = framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    return module.Require<Fn>(name)(nullptr, nullptr, args...);
}

// A status and what was written into a guarded host buffer: everything up to the last byte
// that is not a guard.
using Written = std::pair<std::int32_t, std::string>;

Written GetField(std::int32_t field, std::int32_t view, ItemRecord& item) {
    std::string buffer(64, kGuard);
    const std::int32_t status = Call<GetFieldFn>("GetField", field, view, buffer.data(), &item);
    return {status, buffer.substr(0, buffer.find_last_not_of(kGuard) + 1)};
}

Written GetFieldTitle(std::int32_t field, std::int32_t titleLine) {
    std::string buffer(64, kGuard);
    const std::int32_t status =
        Call<GetFieldTitleFn>("GetFieldTitle", field, 0, buffer.data(), titleLine);
    return {status, buffer.substr(0, buffer.find_last_not_of(kGuard) + 1)};
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
    EXPECT_EQ(Call<GetViewFieldsFn>("GetViewFields", 0, &viewCount, fields), StatusOk);
    EXPECT_EQ(Call<GetFieldsCountFn>("GetFieldsCount", 0, &fieldsCount), StatusOk);
    EXPECT_EQ(Call<GetTitleLinesCountFn>("GetTitleLinesCount", &lineCount), StatusOk);
    EXPECT_EQ((std::vector{viewCount, fields[0], fields[1], fields[2], fieldsCount, lineCount}),
              (std::vector{2, 1, 2, kUntouched, 2, 2}));
    const std::string titles[] = {" Environment \0"s, " Temperature \0"s};
    for (std::int32_t field = 1; field <= 2; ++field) {
        std::int32_t length = kUntouched;
        EXPECT_EQ(Call<GetFieldLengthFn>("GetFieldLength", field, 1, &length), StatusOk);
        EXPECT_EQ(length, 13);
        EXPECT_EQ(GetFieldTitle(field, 1), Written(StatusOk, titles[field - 1]));
        EXPECT_EQ(GetFieldTitle(field, 2), Written(StatusOk, titles[field - 1]));
    }
}

// Both texts of an item, each into a fresh record with the view that the code selects here:
// written with its NUL and nothing behind it, and the record keeps every byte but ViewBlockCopy,
// which is refreshed only when the low byte of the view is 1.
void ExpectFieldTexts(std::uint8_t code, float temperature, std::string text1, std::string text2) {
    const std::pair<std::int32_t, bool> views[] = {
        {1, true},  {0x101, true},  {-255, true}, {INT_MIN + 1, true},
        {0, false}, {0x100, false}, {2, false},   {-1, false}};
    const auto [view, copies] = views[code % std::size(views)];
    for (const auto& [field, text] : {std::pair(1, text1), std::pair(2, text2)}) {
        SCOPED_TRACE(testing::Message() << "code " << int(code) << " temperature " << temperature
                                        << " field " << field << " view " << view);
        ItemRecord item = HostRecord(code, temperature);
        ItemRecord expected = item;
        if (copies) {
            std::memcpy(expected.ViewBlockCopy, expected.ViewBlock, kViewBlockBytes);
        }
        EXPECT_EQ(GetField(field, view, item), Written(StatusOk, text + '\0'));
        EXPECT_EQ(std::memcmp(&item, &expected, sizeof item), 0);
    }
}

// The vector codes and the three added here select every view above.
TEST(ViewFieldExports, FieldTextsMatchVectors) {
    const nlohmann::json items = test::LoadVectors("format.json").at("view_fields").at("items");
    ASSERT_EQ(items.size(), 17u);
    for (const nlohmann::json& item : items) {
        ExpectFieldTexts(item.at("environment_code"),
                         test::SingleFromBits(item.at("temperature").at("bits")), item.at("field1"),
                         item.at("field2"));
    }
    // What the vectors cannot hold: codes without a name, the float's NaN and negative infinity.
    const std::string blanks(21, ' ');
    ExpectFieldTexts(0, std::numeric_limits<float>::quiet_NaN(), blanks, "         NaN ");
    ExpectFieldTexts(28, -std::numeric_limits<float>::infinity(), blanks, "         --- ");
    ExpectFieldTexts(255, 25.0f, blanks, "       25.00 ");
}

// A field or title line out of range, or a null pointer where a call must write, is refused and
// nothing is written: no count, length or text, and no ViewBlockCopy even for view 1.
TEST(ViewFieldExports, RefusedCallsAreBadIndexAndWriteNothing) {
    ItemRecord item = HostRecord(12, 25.5f);
    const ItemRecord before = item;
    std::int32_t written = kUntouched;
    const std::pair<std::int32_t, std::int32_t> rows[] = {
        {0, 1}, {3, 1}, {-1, 1}, {INT_MIN, 1}, {INT_MAX, 2},
        {1, 0}, {1, 3}, {2, 3},  {2, -1},      {-1, -1}};
    const Written nothing(StatusBadIndex, "");
    for (const auto& [field, titleLine] : rows) {
        SCOPED_TRACE(testing::Message() << "field " << field << " line " << titleLine);
        EXPECT_EQ(GetFieldTitle(field, titleLine), nothing);
        if (field != 1 && field != 2) {
            EXPECT_EQ(Call<GetFieldLengthFn>("GetFieldLength", field, 1, &written), StatusBadIndex);
            EXPECT_EQ(GetField(field, 1, item), nothing);
        }
    }
    EXPECT_EQ(Call<GetViewFieldsFn>("GetViewFields", 0, nullptr, nullptr), StatusBadIndex);
    EXPECT_EQ(Call<GetViewFieldsFn>("GetViewFields", 0, &written, nullptr), StatusBadIndex);
    EXPECT_EQ(Call<GetFieldsCountFn>("GetFieldsCount", 0, nullptr), StatusBadIndex);
    EXPECT_EQ(Call<GetTitleLinesCountFn>("GetTitleLinesCount", nullptr), StatusBadIndex);
    EXPECT_EQ(Call<GetFieldLengthFn>("GetFieldLength", 1, 0, nullptr), StatusBadIndex);
    EXPECT_EQ(Call<GetFieldTitleFn>("GetFieldTitle", 1, 0, nullptr, 1), StatusBadIndex);
    EXPECT_EQ(Call<GetFieldFn>("GetField", 1, 1, nullptr, &item), StatusBadIndex);
    char buffer[64];
    EXPECT_EQ(Call<GetFieldFn>("GetField", 1, 1, buffer, nullptr), StatusBadIndex);
    EXPECT_EQ(written, kUntouched);
    EXPECT_EQ(std::memcmp(&item, &before, sizeof item), 0);
    EXPECT_EQ(framework::CurrentModuleState(), framework::ProcessModuleState());
}

}  // namespace
}  // namespace tavrin21
