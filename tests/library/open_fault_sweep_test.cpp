// Opening library files while each ODBC call fails in turn: the call numbered N, for N from 1
// until the opening passes without a fault. A failed call shows the driver's reason and leaves
// the file closed; the next opening works.

#include "framework/database.h"
#include "framework/message_box.h"
#include "framework/odbc_api.h"
#include "framework/platform/windows_path.h"
#include "library/failure_library.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

namespace odbc = framework::odbc;

TEST(OpenFaultSweep, EachFailingCallShowsTheDriversReasonAndTheNextOpenWorks) {
    ASSERT_NE(std::getenv("ODBCSYSINI"), nullptr) << "run through ctest, which sets ODBCSYSINI";
    test::ScratchDirectory folder;
    const framework::PathMapping previous =
        framework::SetPathMapping({folder / "root", {{'D', folder / "d"}}});
    for (const char* made : {"root/LIB", "root/EMPRJ", "d/PROJ"}) {
        std::filesystem::create_directories(folder / made);
    }
    for (const char* path : {"\\LIB\\ZOVA.MDB", "D:\\PROJ\\x.mdb"}) {
        framework::Database database;
        database.Open(test::SqliteConnectString(framework::HostPath(path)));
        database.ExecuteSQL("CREATE TABLE Marker (x INTEGER)");
    }
    std::vector<std::string> boxes;
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        boxes.push_back(text);
        return framework::kIdOk;
    });

    // The failure library in its default place, then a file of a project folder.
    const auto openBoth = [] {
        FailureLibrary library("", "");
        DatabaseFile file("D", "PROJ", "x.mdb");
        return std::vector<int>{library.Open(), file.Open()};
    };
    ASSERT_EQ(openBoth(), (std::vector<int>{0, 0}));

    long n = 1;
    for (;; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        boxes.clear();
        odbc::ClearFaults();
        odbc::FailNthCall(n);
        const std::vector<int> results = openBoth();
        if (odbc::FaultsFired() == 0) {
            EXPECT_EQ(results, (std::vector<int>{0, 0}));
            break;
        }
        // One of the two failed with the injected error, or a failed disconnect was absorbed.
        const auto failed = std::count(results.begin(), results.end(), 2);
        EXPECT_EQ(failed + std::count(results.begin(), results.end(), 0), 2);
        ASSERT_EQ(boxes.size(), static_cast<std::size_t>(failed));
        for (const std::string& box : boxes) {
            EXPECT_NE(box.find("\nHY000 (0) injected fault\n"), std::string::npos) << box;
        }
        odbc::ClearFaults();
        EXPECT_EQ(openBoth(), (std::vector<int>{0, 0}));
    }
    RecordProperty("calls", std::to_string(n - 1));
    EXPECT_GT(n, 10);
    framework::SetPathMapping(previous);
}

}  // namespace
}  // namespace tavrin21
