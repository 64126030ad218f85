// calc_item as the host calls it: the module loaded by path, a real SQLite library on the
// connections, and a record full of the host's own bytes. And the module's fit threads across
// unloads.

#include "framework/database.h"
#include "framework/platform/dynamic_library.h"
#include "framework/platform/module_thread.h"
#include "framework/platform/usable_processors.h"
#include "tavrin21/exports.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::ScratchDirectory;

// A record whose every byte the host has set; calc_item may change only the result fields. A
// part number that fills its field is left without a NUL.
ItemRecord HostRecord(const std::string& partNumber,
                      std::uint8_t environment,
                      float temperature,
                      std::uint8_t methodCode) {
    ItemRecord item;
    auto* bytes = reinterpret_cast<unsigned char*>(&item);
    for (std::size_t i = 0; i < sizeof item; ++i) {
        bytes[i] = static_cast<unsigned char>(0xA5 ^ i);
    }
    item.EnvironmentCode = environment;
    item.MethodCode = methodCode;
    item.Temperature = temperature;
    std::memset(item.PartNumber, 0, sizeof item.PartNumber);
    std::memcpy(item.PartNumber, partNumber.data(),
                std::min(partNumber.size(), sizeof item.PartNumber));
    return item;
}

// The host program's tests calculate the other outcomes through the module; these are the ones
// they do not reach. The secondary's P-1 would give 99: the primary is searched first. calc_item
// may write the four result fields only; every other byte must be as the host left it. And
// chek_item accepts every item.
TEST(CalcItemThroughModule, CalculatesOrFailsWithItsMessageAndTouchesOnlyTheResultFields) {
    const auto module = framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    ScratchDirectory scratch;
    test::MakeSqliteLibrary(scratch / "primary.sqlite",
                            {"INSERT INTO FRTable VALUES ('P-1', 1, 0, 100)",
                             "INSERT INTO FRTablePoint VALUES ('P-1', 1, 0, 20, 1.0)",
                             "INSERT INTO FRTablePoint VALUES ('P-1', 1, 1, 40, 3.0)",
                             "INSERT INTO FRTable VALUES ('O''Brien', 5, -10, 50)",
                             "INSERT INTO FRTablePoint VALUES ('O''Brien', 5, 0, 30, 2.0)"});
    test::MakeSqliteLibrary(scratch / "secondary.sqlite",
                            {"INSERT INTO FRTable VALUES ('P-1', 1, 0, 100)",
                             "INSERT INTO FRTablePoint VALUES ('P-1', 1, 0, 30, 99.0)"});
    framework::Database primary;
    framework::Database secondary;
    primary.Open(test::SqliteConnectString(scratch / "primary.sqlite"));
    secondary.Open(test::SqliteConnectString(scratch / "secondary.sqlite"));
    EXPECT_EQ(module.Require<ChekItemFn>("chek_item")(), StatusOk);
    const float untouched = HostRecord("x", 0, 0, 0).ResultRate;
    const struct {
        const char* name;
        std::string partNumber;
        std::uint8_t environment;
        float temperature;
        std::uint8_t methodCode;
        std::uint32_t mode;
        std::int32_t status;
        const char* message;  // the whole buffer afterwards; nullptr: left as it was
        float rate;           // ResultRate afterwards (the host's bytes when nothing is written)
    } rows[] = {
        {"only the low byte of mode counts", "P-1", 1, 30, 102, 0x100, StatusCalculated, nullptr,
         2.0f},
        {"apostrophe in the part number", "O'Brien", 5, 30, 0, 0, StatusCalculated, nullptr, 2.0f},
        {"empty part number", "", 1, 30, 0, 0, StatusFailed, " Item without Part Name\n",
         untouched},
        {"environment not in the table", "P-1", 2, 30, 0, 0, StatusFailed,
         " No data for this part in ZOVA FR Table Library\n", untouched},
        {"part number without NUL is cut, not overrun",
         std::string(sizeof(ItemRecord::PartNumber), 'Q'), 1, 30, 0, 0, StatusFailed,
         " No data for this part in ZOVA FR Table Library\n", untouched},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ItemRecord item =
            HostRecord(row.partNumber, row.environment, row.temperature, row.methodCode);
        ItemRecord expected = item;
        char message[kMessageBufferBytes];
        std::memset(message, 'z', sizeof message);
        message[sizeof message - 1] = '\0';
        EXPECT_EQ(
            module.Require<CalcItemFn>("calc_item")(message, &item, &primary, &secondary, row.mode),
            row.status);
        EXPECT_EQ(std::string(message), row.message ? std::string(row.message)
                                                    : std::string(kMessageBufferBytes - 1, 'z'));
        // Packed fields are copied out before the comparison binds references to them.
        EXPECT_EQ(float{item.ResultRate}, row.rate);
        EXPECT_EQ(float{item.ResultAux1}, 1.0f);
        EXPECT_EQ(std::uint32_t{item.ResultAux2}, 0u);
        expected.ResultRate = item.ResultRate;
        expected.ResultAux1 = item.ResultAux1;
        expected.ResultAux2 = item.ResultAux2;
        expected.ResultScale = item.ResultScale;
        EXPECT_EQ(std::memcmp(&expected, &item, sizeof item), 0);
    }
}

// A field-data fit runs on as many threads as the process may keep busy (ten times and 500 points
// an iteration are work enough for two). Where those threads hold the module until they have been
// idle a while (Windows), an unloaded module stays until then, and a load meanwhile finds it still
// started; elsewhere it goes at once. Either way it goes, and loads and fits again, the same.
TEST(FieldDataThroughModule, FitsOnItsThreadsAndGoesOnceTheyHaveEnded) {
    ScratchDirectory scratch;
    framework::Database library;
    library.Open(test::SqliteConnectString(scratch / "fr.sqlite"));
    test::RunSqlScript(library, test::ExampleFile("part_fr.sql"));
    test::RunSqlScript(library, test::ExampleFile("field_data.sql"));
    const bool threadsHoldModule =
        framework::ModuleThreadsEndBeforeUnload() && framework::UsableProcessors() > 1;
    const struct {
        const char* name;
        bool waitUntilGone;
    } loads[] = {{"first load", false},
                 {"again, before its threads have ended", true},
                 {"again, after it went", true}};
    for (const auto& load : loads) {
        SCOPED_TRACE(load.name);
        auto module = framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
        ItemRecord item = HostRecord("FAN-0412", 1, 25, 0);
        char message[kMessageBufferBytes] = "";
        EXPECT_EQ(module.Require<CalcItemFn>("calc_item")(message, &item, &library, &library, 2),
                  StatusCalculated)
            << message;
        // The example's fit: shape 1.40527153, scale 571.522217.
        EXPECT_NEAR(item.ResultRate, 1.40527153, 1e-5);
        EXPECT_NEAR(item.ResultScale, 571.522217, 1e-3);
        module.Unload();
        EXPECT_EQ(framework::ModuleIsLoaded(TAVRIN21_MODULE_PATH), threadsHoldModule);
        for (int wait = 0; load.waitUntilGone && wait < 3000; ++wait) {
            if (!framework::ModuleIsLoaded(TAVRIN21_MODULE_PATH)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(framework::ModuleIsLoaded(TAVRIN21_MODULE_PATH),
                  threadsHoldModule && !load.waitUntilGone);
    }
}

}  // namespace
}  // namespace tavrin21
