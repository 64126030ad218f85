// Locating, making and opening library files through the installed Access driver. This test
// program's driver list holds "Microsoft Access Driver (*.mdb)" on top of the SQLite driver, so
// the files are SQLite databases; the current drive's root and drive D are scratch folders.

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "framework/odbc_api.h"
#include "framework/recordset.h"
#include "library/failure_library.h"
#include "tests/library/test_drives.h"
#include "tests/support/sql_script.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

namespace fs = std::filesystem;
namespace odbc = framework::odbc;

class OpenLibraryFile : public ::testing::Test {
  protected:
    void SetUp() override {
        if (drives_.Missing()) {
            GTEST_SKIP() << *drives_.Missing();
        }
        ASSERT_NE(std::getenv("ODBCSYSINI"), nullptr) << "run through ctest, which sets ODBCSYSINI";
        for (const char* made : {"\\LIB", "\\EMPRJ", "\\PROJ", "D:\\PROJ", "D:\\NOLINK"}) {
            fs::create_directories(drives_.Local(made));
        }
        MakeDatabase("\\EMPRJ\\zova.mdb", "fromTemplate");
        MakeDatabase("\\EMPRJ\\ZOVA.MDB", "fromTheDefaultName");  // never a template
        MakeDatabase("\\PROJ\\x.mdb", "currentDrive");
        MakeDatabase("D:\\PROJ\\x.mdb", "onD");
        MakeDatabase("D:\\PROJ\\fta.mdb", "fta", "CREATE TABLE LinkedPhasesQq (Phase INTEGER);");
        MakeDatabase("D:\\PROJ\\FTA.MDB", "FTA", "CREATE TABLE LinkedPhasesQq (Phase INTEGER);");
        MakeDatabase("D:\\NOLINK\\fta.mdb", "fta");
    }

    // An SQLite file at `path` whose table Marker has a column named `marker`.
    void MakeDatabase(std::string path, std::string marker, std::string more = "") {
        framework::Database database;
        database.Open(test::SqliteConnectString(drives_.ForDriver(path)));
        test::RunSqlScript(database, "CREATE TABLE Marker (" + marker + " INTEGER);" + more);
    }

    static std::string MarkerOf(DatabaseFile& file) {
        if (!file.connection.IsOpen()) {
            return "(closed)";
        }
        framework::Recordset rows(&file.connection);
        try {
            rows.Open("SELECT * FROM Marker");
            return rows.ColumnNames().at(0);
        } catch (const framework::DbException&) {
            return "(empty database)";
        }
    }

    test::TestDrives drives_;
    std::vector<std::string> boxes_;
    framework::ScopedMessageSink sink_{
        [this](const std::string& text, unsigned type, unsigned help) {
            EXPECT_EQ(std::pair(type, help), std::pair(framework::kMessageBoxOk, 16u)) << text;
            boxes_.push_back(text);
            return framework::kIdOk;
        }};
};

// Each row opens a project file, or the failure library, and checks the result, the path taken,
// what the file holds and its version, which a failed opening resets. A preset path that is
// missing is not opened and shows nothing; an error shows the head, the driver's error text (at
// most 254 characters), then the connect string, empty before there is one.
TEST_F(OpenLibraryFile, OpensFromTheMembersOrTheTemplateAndShowsWhyItFails) {
    constexpr bool kLibrary = true;  // a FailureLibrary, not a plain DatabaseFile
    const std::string kHead = "Error opening database!\n", kClosed = "(closed)";  // see MarkerOf
    const struct {
        bool library;
        std::string drive, directory, fileName, path, marker;
        double version;
        int result = 0;
        std::string presetPath = "", tail = "";  // tail empty: no box
    } rows[] = {
        {kLibrary, "", "", "zova.mdb", "\\LIB\\zova.mdb", "fromTemplate", 0.0},
        // The template path is built from the empty name: the folder \EMPRJ, which is no file.
        {kLibrary, "", "", "", "\\LIB\\ZOVA.MDB", "(empty database)", 0.0},
        {kLibrary, "d", "PROJ", "zova.mdb", "D:\\\\PROJ\\zova.mdb", "fromTemplate", 8.1},
        {false, "d:\\anything", "PROJ", "x.mdb", "D:\\\\PROJ\\x.mdb", "onD", 8.1},
        {false, "", "PROJ", "x.mdb", "\\PROJ\\x.mdb", "currentDrive", 8.1},
        {false, "D", "PROJ", "fta.mdb", "D:\\\\PROJ\\fta.mdb", "fta", 8.15},
        {false, "D", "PROJ", "FTA.MDB", "D:\\\\PROJ\\FTA.MDB", "FTA", 8.1},
        {false, "D", "NOLINK", "fta.mdb", "D:\\\\NOLINK\\fta.mdb", "fta", 8.1},
        // No file and no template: the stand-in driver takes the empty copy for an empty database.
        {false, "D", "PROJ", "absent.mdb", "D:\\\\PROJ\\absent.mdb", "(empty database)", 8.1},
        {false, "D", "PROJ", "x.mdb", "D:\\PROJ\\missing.mdb", kClosed, 0.0, 1,
         "D:\\PROJ\\missing.mdb"},
        {false, "D", "NOFOLDER", "x.mdb", "D:\\\\NOFOLDER\\x.mdb", kClosed, 0.0, 2, "",
         "\nODBC;DRIVER={Microsoft Access Driver (*.mdb)};DSN='';"
         "DBQ=D:\\\\NOFOLDER\\x.mdb;Uid=;Pwd=;"},
        // A path too long to compose stays empty.
        {false, "D", std::string(200, 'p'), "x.mdb", "", kClosed, 0.0, 2, "", "\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.directory.substr(0, 10) + " " + row.fileName);
        boxes_.clear();
        FailureLibrary library(row.drive, row.directory);
        DatabaseFile databaseFile(row.drive, row.directory, row.fileName);
        DatabaseFile& file = row.library ? library : databaseFile;
        file.fileName = row.fileName;
        file.path = row.presetPath;
        databaseFile.version = 3.0;
        drives_.PointDataSourceAt(row.path);
        const int result = file.Open();
        EXPECT_EQ(
            std::tuple(result, file.path, MarkerOf(file), file.version, boxes_.size()),
            std::tuple(row.result, row.path, row.marker, row.version, row.tail.empty() ? 0u : 1u));
        for (const std::string& box : boxes_) {
            EXPECT_TRUE(box.starts_with(kHead) && box.ends_with(row.tail)) << box;
            EXPECT_GT(box.size(), kHead.size() + row.tail.size());
            EXPECT_LE(box.size(), kHead.size() + 254 + row.tail.size());
        }
    }
}

// An existing library is opened as it is, and again from a path composed anew; Exists
// composes the path once, keeps it, and copies nothing.
TEST_F(OpenLibraryFile, ReopenAndExists) {
    MakeDatabase("\\LIB\\zova.mdb", "library");
    drives_.PointDataSourceAt("\\LIB\\zova.mdb");
    FailureLibrary library("", "");
    ASSERT_EQ(library.Open(), 0);
    library.path = "\\elsewhere";
    ASSERT_EQ(library.Reopen(), 0);
    EXPECT_EQ(std::tuple(library.path, MarkerOf(library)),
              std::tuple("\\LIB\\zova.mdb", "library"));

    DatabaseFile file("D", "PROJ", "zova.mdb");
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.path, "D:\\\\PROJ\\zova.mdb");
    EXPECT_FALSE(fs::exists(drives_.Local("D:\\PROJ\\zova.mdb")));
    file.directory = "ELSEWHERE";
    MakeDatabase("D:\\PROJ\\zova.mdb", "made");
    EXPECT_TRUE(file.Exists());
    EXPECT_TRUE(DatabaseFile("D", "PROJ", "").Exists());
    EXPECT_FALSE(DatabaseFile("D", std::string(200, 'p'), "x.mdb").Exists());
    EXPECT_TRUE(boxes_.empty());
}

// Each ODBC call of opening the failure library and a project file fails in turn, the Nth for N
// from 1 until both open without a fault: a failed call shows the driver's reason and fails that
// one opening (a failed disconnect is made again and fails none), and the next opening works.
TEST_F(OpenLibraryFile, EachFailingCallShowsTheDriversReasonAndTheNextOpenWorks) {
    MakeDatabase("\\LIB\\ZOVA.MDB", "library");
    // Both openings reach the library where the driver reads the file from a data source.
    drives_.PointDataSourceAt("\\LIB\\ZOVA.MDB");
    const auto openBoth = [] {
        FailureLibrary library("", "");
        DatabaseFile file("D", "PROJ", "x.mdb");
        return std::vector<int>{library.Open(), file.Open()};
    };
    long n = 1;
    for (long fired = 1; fired > 0; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        boxes_.clear();
        odbc::ClearFaults();
        odbc::FailNthCall(n);
        const std::vector<int> results = openBoth();
        fired = odbc::FaultsFired();
        const auto failed = std::count(results.begin(), results.end(), 2);
        EXPECT_EQ(failed, fired == 0 || odbc::LastFaultedCall() == odbc::Call::Disconnect ? 0 : 1);
        EXPECT_EQ(failed + std::count(results.begin(), results.end(), 0), 2);
        ASSERT_EQ(boxes_.size(), static_cast<std::size_t>(failed));
        for (const std::string& box : boxes_) {
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
