// Locating, making and opening library files through the installed Access driver. This test
// program's driver list holds "Microsoft Access Driver (*.mdb)" on top of the SQLite driver, so
// the files are SQLite databases; the current drive's root and drive D are scratch folders.

#include "framework/database.h"
#include "framework/message_box.h"
#include "framework/platform/windows_path.h"
#include "framework/recordset.h"
#include "library/failure_library.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

namespace fs = std::filesystem;

const std::string kDriver = "Microsoft Access Driver (*.mdb)";

std::string ConnectString(const std::string& path) {
    return "ODBC;DRIVER={" + kDriver + "};DSN='';DBQ=" + path + ";Uid=;Pwd=;";
}

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Box {
    std::string text;
    unsigned type;
    unsigned helpContext;
};

class OpenLibraryFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("ODBCSYSINI"), nullptr) << "run through ctest, which sets ODBCSYSINI";
        previousMapping_ = framework::SetPathMapping({Root(), {{'D', folder_ / "d-drive"}}});
        fs::create_directories(Root() / "LIB");
        fs::create_directories(Root() / "EMPRJ");
        fs::create_directories(folder_ / "d-drive" / "PROJ");
    }
    void TearDown() override { framework::SetPathMapping(previousMapping_); }

    fs::path Root() const { return folder_ / "root"; }

    // An SQLite file at `path` whose table Marker names it.
    static void MakeDatabase(const fs::path& path,
                             const std::string& marker,
                             bool withLinkedPhases = false) {
        framework::Database database;
        database.Open(test::SqliteConnectString(path));
        database.ExecuteSQL("CREATE TABLE Marker (Name TEXT)");
        database.ExecuteSQL("INSERT INTO Marker VALUES ('" + marker + "')");
        if (withLinkedPhases) {
            database.ExecuteSQL("CREATE TABLE LinkedPhasesQq (Phase INTEGER)");
        }
    }

    // The marker of the database `file` is connected to.
    static std::string MarkerOf(DatabaseFile& file) {
        framework::Recordset rows(&file.connection);
        rows.Open("SELECT Name FROM Marker");
        std::string name;
        rows.GetFieldValue("Name", name);
        return name;
    }

    test::ScratchDirectory folder_;
    std::vector<Box> boxes_;
    framework::ScopedMessageSink sink_{
        [this](const std::string& text, unsigned type, unsigned help) {
            boxes_.push_back({text, type, help});
            return framework::kIdOk;
        }};

  private:
    framework::PathMapping previousMapping_;
};

TEST_F(OpenLibraryFile, DefaultLibraryIsMadeFromItsTemplateThenOpened) {
    MakeDatabase(Root() / "EMPRJ" / "zova.mdb", "template");
    FailureLibrary library("", "");

    ASSERT_EQ(library.Open(), 0);

    EXPECT_EQ(library.path, "\\LIB\\zova.mdb");
    EXPECT_EQ(Contents(Root() / "LIB" / "zova.mdb"), Contents(Root() / "EMPRJ" / "zova.mdb"));
    EXPECT_EQ(MarkerOf(library), "template");
    EXPECT_EQ(library.version, 0.0);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(OpenLibraryFile, ExistingLibraryIsOpenedAsItIs) {
    MakeDatabase(Root() / "EMPRJ" / "zova.mdb", "template");
    MakeDatabase(Root() / "LIB" / "zova.mdb", "library");
    FailureLibrary library("", "");

    ASSERT_EQ(library.Open(), 0);
    EXPECT_EQ(MarkerOf(library), "library");

    // Opened again, it first lets go of the connection it has.
    library.path = "\\elsewhere";
    ASSERT_EQ(library.Reopen(), 0);
    EXPECT_EQ(library.path, "\\LIB\\zova.mdb");
    EXPECT_EQ(MarkerOf(library), "library");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(OpenLibraryFile, EmptyFileNameOpensTheUpperCaseNameWithTheTemplateFolderAsTemplate) {
    FailureLibrary library("", "");
    library.fileName = "";

    const int result = library.Open();

    EXPECT_EQ(library.path, "\\LIB\\ZOVA.MDB");
    // The template path is the folder itself, which is no file: an empty library is left.
    ASSERT_TRUE(fs::exists(Root() / "LIB" / "ZOVA.MDB"));
    EXPECT_EQ(fs::file_size(Root() / "LIB" / "ZOVA.MDB"), 0u);
    EXPECT_FALSE(fs::exists(Root() / "LIB" / "zova.mdb"));
    // The stand-in driver takes an empty file for an empty database; a driver that refuses it
    // must say so with a message box.
    EXPECT_EQ(boxes_.size(), result == 0 ? 0u : 1u);
}

TEST_F(OpenLibraryFile, MissingFileAndTemplateLeaveAnEmptyFileWhichIsOpenedOrRefusedWithABox) {
    DatabaseFile file("D", "PROJ", "absent.mdb");

    const int result = file.Open();

    EXPECT_EQ(file.path, "D:\\\\PROJ\\absent.mdb");
    const fs::path made = folder_ / "d-drive" / "PROJ" / "absent.mdb";
    ASSERT_TRUE(fs::exists(made));
    EXPECT_EQ(fs::file_size(made), 0u);
    switch (result) {
        case 0:
            EXPECT_TRUE(boxes_.empty());
            EXPECT_EQ(file.version, 8.1);
            break;
        case 1:
            ASSERT_EQ(boxes_.size(), 1u);
            EXPECT_EQ(boxes_[0].text, "Error opening database!\n");
            break;
        case 2:
            ASSERT_EQ(boxes_.size(), 1u);
            EXPECT_TRUE(boxes_[0].text.ends_with("\n" + ConnectString(file.path)));
            break;
        default:
            ADD_FAILURE() << "Open returned " << result;
    }
}

TEST_F(OpenLibraryFile, FileThatCannotBeMadeIsAnErrorWithTheDriversTextAndTheConnectString) {
    fs::remove_all(Root() / "LIB");
    FailureLibrary library("", "");

    EXPECT_EQ(library.Open(), 2);

    EXPECT_FALSE(library.connection.IsOpen());
    ASSERT_EQ(boxes_.size(), 1u);
    const std::string& text = boxes_[0].text;
    const std::string head = "Error opening database!\n";
    const std::string tail = "\n" + ConnectString("\\LIB\\zova.mdb");
    ASSERT_TRUE(text.starts_with(head)) << text;
    ASSERT_TRUE(text.ends_with(tail)) << text;
    const std::string errorText = text.substr(head.size(), text.size() - head.size() - tail.size());
    EXPECT_FALSE(errorText.empty());
    EXPECT_LE(errorText.size(), 254u);
    EXPECT_EQ(boxes_[0].type, framework::kMessageBoxOk);
    EXPECT_EQ(boxes_[0].helpContext, 16u);
}

TEST_F(OpenLibraryFile, PathTooLongIsAnErrorBeforeAnyConnectString) {
    DatabaseFile file("D", std::string(200, 'p'), "x.mdb");

    EXPECT_EQ(file.Open(), 2);

    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(boxes_[0].text.starts_with("Error opening database!\n")) << boxes_[0].text;
    EXPECT_TRUE(boxes_[0].text.ends_with("\n")) << boxes_[0].text;
    EXPECT_EQ(file.path, "");
    EXPECT_FALSE(file.Exists());
}

TEST_F(OpenLibraryFile, PresetPathThatIsMissingIsNotOpenedAndNothingIsShown) {
    DatabaseFile file("D", "PROJ", "x.mdb");
    file.version = 3.0;
    file.path = "D:\\PROJ\\missing.mdb";

    EXPECT_EQ(file.Open(), 1);

    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(file.version, 0.0);
    EXPECT_FALSE(file.connection.IsOpen());
    EXPECT_FALSE(fs::exists(folder_ / "d-drive" / "PROJ" / "missing.mdb"));
}

TEST_F(OpenLibraryFile, DriveLetterInEitherCaseAndNoDriveAtAll) {
    MakeDatabase(folder_ / "d-drive" / "PROJ" / "x.mdb", "on D");
    fs::create_directories(Root() / "PROJ");
    MakeDatabase(Root() / "PROJ" / "x.mdb", "current drive");
    const struct {
        const char* drive;
        const char* path;
        const char* marker;
    } rows[] = {
        {"D", "D:\\\\PROJ\\x.mdb", "on D"},
        {"d", "D:\\\\PROJ\\x.mdb", "on D"},
        {"d:\\anything", "D:\\\\PROJ\\x.mdb", "on D"},
        {"", "\\PROJ\\x.mdb", "current drive"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.drive);
        DatabaseFile file(row.drive, "PROJ", "x.mdb");
        ASSERT_EQ(file.Open(), 0);
        EXPECT_EQ(file.path, row.path);
        EXPECT_EQ(MarkerOf(file), row.marker);
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(OpenLibraryFile, FormatVersionFromTheLinkedPhasesQueryOfFtaMdbOnly) {
    const struct {
        const char* fileName;
        bool withLinkedPhases;
        double version;
    } rows[] = {
        {"fta.mdb", true, 8.15},
        {"fta.mdb", false, 8.1},
        {"FTA.MDB", true, 8.1},
        {"other.mdb", true, 8.1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.fileName) + (row.withLinkedPhases ? " with" : " without"));
        const fs::path file = folder_ / "d-drive" / "PROJ" / row.fileName;
        fs::remove(file);
        MakeDatabase(file, "fta", row.withLinkedPhases);
        DatabaseFile database("D", "PROJ", row.fileName);
        ASSERT_EQ(database.Open(), 0);
        EXPECT_EQ(database.version, row.version);
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(OpenLibraryFile, FailureLibraryInAFolderOfItsOwnOpensAsADatabaseFile) {
    MakeDatabase(Root() / "EMPRJ" / "zova.mdb", "template");
    fs::create_directories(folder_ / "d-drive" / "DATA");
    FailureLibrary library("d", "DATA");

    ASSERT_EQ(library.Open(), 0);

    EXPECT_EQ(library.path, "D:\\\\DATA\\zova.mdb");
    EXPECT_EQ(MarkerOf(library), "template");
    EXPECT_EQ(library.version, 8.1);
}

TEST_F(OpenLibraryFile, ExistsComposesThePathAndCopiesNothing) {
    MakeDatabase(Root() / "EMPRJ" / "x.mdb", "template");
    DatabaseFile missing("D", "PROJ", "x.mdb");
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.path, "D:\\\\PROJ\\x.mdb");
    EXPECT_FALSE(fs::exists(folder_ / "d-drive" / "PROJ" / "x.mdb"));

    DatabaseFile folder("D", "PROJ", "");
    EXPECT_TRUE(folder.Exists());

    // Once composed, the path is kept even when the members change.
    missing.directory = "ELSEWHERE";
    MakeDatabase(folder_ / "d-drive" / "PROJ" / "x.mdb", "made");
    EXPECT_TRUE(missing.Exists());
    ASSERT_EQ(missing.Open(), 0);
    EXPECT_EQ(MarkerOf(missing), "made");
}

}  // namespace
}  // namespace tavrin21
