// Opening library files while each ODBC call fails in turn, the Nth for N from 1 until the
// opening passes without a fault: a failed call shows the driver's reason, and the next opening
// works.

#include "framework/database.h"
#include "framework/message_box.h"
#include "framework/odbc_api.h"
#include "library/failure_library.h"
#include "tests/library/test_drives.h"
#include "tests/support/sql_script.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

namespace odbc = framework::odbc;

TEST(OpenFaultSweep, EachFailingCallShowsTheDriversReasonAndTheNextOpenWorks) {
    test::TestDrives drives;
    if (drives.Missing()) {
        GTEST_SKIP() << *drives.Missing();
    }
    for (const char* path : {"\\LIB\\ZOVA.MDB", "D:\\PROJ\\x.mdb"}) {
        std::filesystem::create_directories(drives.Local(path).parent_path());
        framework::Database database;
        database.Open(test::SqliteConnectString(drives.ForDriver(path)));
        database.ExecuteSQL("CREATE TABLE Marker (x INTEGER)");
    }
    // Both openings reach the library where the driver reads the file from a data source.
    drives.PointDataSourceAt("\\LIB\\ZOVA.MDB");
    std::vector<std::string> boxes;
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        boxes.push_back(text);
        return framework::kIdOk;
    });
    // The failure library in its default place, then a file of a project folder: 0 opened, 2
    // failed.
    const auto openBoth = [] {
        FailureLibrary library("", "");
        DatabaseFile file("D", "PROJ", "x.mdb");
        return std::vector<int>{library.Open(), file.Open()};
    };
    long n = 1;
    for (long fired = 1; fired > 0; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        boxes.clear();
        odbc::ClearFaults();
        odbc::FailNthCall(n);
        const std::vector<int> results = openBoth();
        // A failed disconnect is made again; any other failure fails that one opening.
        fired = odbc::FaultsFired();
        const auto failed = std::count(results.begin(), results.end(), 2);
        EXPECT_EQ(failed, fired == 0 || odbc::LastFaultedCall() == odbc::Call::Disconnect ? 0 : 1);
        EXPECT_EQ(failed + std::count(results.begin(), results.end(), 0), 2);
        ASSERT_EQ(boxes.size(), static_cast<std::size_t>(failed));
        for (const std::string& box : boxes) {
            EXPECT_NE(box.find("\nHY000 (0) injected fault\n"), std::string::npos) << box;
        }
        odbc::ClearFaults();
        EXPECT_EQ(openBoth(), (std::vector<int>{0, 0}));
    }
    RecordProperty("calls", std::to_string(n - 2));
    EXPECT_GT(n, 10);
}

}  // namespace
}  // namespace tavrin21
