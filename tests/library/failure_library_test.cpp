#include "library/failure_library.h"

#include "framework/message_box.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(FailureLibrary, ConstructedEmptyNamesTheLibraryFileAndIsClosed) {
    const FailureLibrary library("", "");
    EXPECT_EQ(library.fileName, "zova.mdb");
    EXPECT_EQ(library.templateName, "zova.mdb");
    EXPECT_EQ(library.drive, "");
    EXPECT_EQ(library.directory, "");
    EXPECT_EQ(library.path, "");
    EXPECT_EQ(library.version, 0.0);
    EXPECT_FALSE(library.connection.IsOpen());
    EXPECT_FALSE(library.recordset.IsOpen());
}

TEST(DatabaseFile, TakesDriveDirectoryAndFileNameInThatOrder) {
    const DatabaseFile file("d:", "PROJ", "fta.mdb");
    EXPECT_EQ(file.drive, "d:");
    EXPECT_EQ(file.directory, "PROJ");
    EXPECT_EQ(file.fileName, "fta.mdb");
    EXPECT_EQ(file.templateName, "fta.mdb");
    EXPECT_EQ(file.path, "");
}

TEST(DatabaseFile, CloseClosesItsOwnConnectionAndMayBeRepeated) {
    test::ScratchDirectory scratch;
    FailureLibrary library("", "");
    library.connection.Open(test::SqliteConnectString(scratch / "own.sqlite"));
    EXPECT_EQ(library.Close(), 0);
    EXPECT_FALSE(library.connection.IsOpen());
    EXPECT_FALSE(library.recordset.IsOpen());
    EXPECT_EQ(library.Close(), 0);
}

TEST(DatabaseFile, DestructionLeavesOtherConnectionsAloneAndShowsNothing) {
    test::ScratchDirectory scratch;
    framework::Database host;
    host.Open(test::SqliteConnectString(scratch / "host.sqlite"));
    framework::Recordset rows(&host);
    rows.Open("SELECT 1 AS One UNION ALL SELECT 2");
    int boxes = 0;
    framework::ScopedMessageSink sink([&](const std::string&, unsigned, unsigned) {
        ++boxes;
        return framework::kIdOk;
    });

    { FailureLibrary library("", ""); }

    EXPECT_EQ(boxes, 0);
    ASSERT_TRUE(host.IsOpen());
    ASSERT_FALSE(rows.IsEOF());
    rows.MoveNext();
    std::string value;
    rows.GetFieldValue("One", value);
    EXPECT_EQ(value, "2");
}

}  // namespace
}  // namespace tavrin21
