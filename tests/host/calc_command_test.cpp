// The host program end to end: an items file, a library made with the documented schema, the
// module loaded by path, and what the user reads.

#include "host/calc_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/database.h"
#include "framework/odbc_api.h"
#include "tests/host/run_program.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

namespace tavrin21::host {
namespace {

using test::ScratchDirectory;

class HostCalc : public ::testing::Test {
protected:
    void SetUp() override {
        test::MakeSqliteLibrary(scratch_ / "lib.sqlite",
                                {"INSERT INTO FRTable VALUES ('R-1', 1, 0, 100)",
                                 "INSERT INTO FRTablePoint VALUES ('R-1', 1, 0, 20, 1.0)",
                                 "INSERT INTO FRTablePoint VALUES ('R-1', 1, 1, 40, 3.0)"});
        test::MakeSqliteLibrary(scratch_ / "second.sqlite",
                                {"INSERT INTO FRTable VALUES ('S-1', 2, 0, 100)",
                                 "INSERT INTO FRTablePoint VALUES ('S-1', 2, 0, 40, 0.5)"});
    }

    std::string WriteItems(const std::string& text) {
        const auto path = (scratch_ / "items.csv").string();
        std::ofstream(path) << text;
        return path;
    }

    int Run(CalcOptions options) {
        options.modulePath = TAVRIN21_MODULE_PATH;
        if (options.primary.empty()) {
            options.primary = (scratch_ / "lib.sqlite").string();
        }
        out_.str("");
        err_.str("");
        return RunCalc(options, out_, err_);
    }

    ScratchDirectory scratch_;
    std::ostringstream out_, err_;
};

TEST_F(HostCalc, WritesOneCsvRowPerItemWithStatusMessageAndResults) {
    CalcOptions options;
    options.itemsPath = WriteItems(
        "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
        "R-1,GB,30,102,0\n"
        "\"R-1\",1,20,0,0\n"
        ",GB,30,0,0\n"
        "R-1,GB,130,0,0\n"
        "NOPE,GB,30,0,0\n"
        "S-1,GMS,40,0,0\n");
    options.secondary = (scratch_ / "second.sqlite").string();
    options.format = "csv";
    EXPECT_EQ(Run(options), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(),
              "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Status,Message,ResultRate,ResultScale\n"
              "R-1,1,30,102,0,3,,2,0\n"
              "R-1,1,20,0,0,3,,1,0\n"
              ",1,30,0,0,1,Item without Part Name,0,0\n"
              "R-1,1,130,0,0,1,Temperature out of range,0,0\n"
              "NOPE,1,30,0,0,1,No data for this part in ZOVA FR Table Library,0,0\n"
              "S-1,2,40,0,0,3,,0.5,0\n");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(HostCalc, TableShowsTheModulesOwnColumnsAsTheModuleRendersThem) {
    CalcOptions options;
    options.itemsPath = WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
                                   "R-1,AIC,25.5,0,0\n");
    EXPECT_EQ(Run(options), kExitOk) << err_.str();
    std::istringstream lines(out_.str());
    std::string title1, title2, rule, row;
    std::getline(lines, title1);
    std::getline(lines, title2);
    std::getline(lines, rule);
    std::getline(lines, row);
    // Both title lines carry the module's titles; each cell is cut to the field's length (13).
    for (const std::string& title : {title1, title2}) {
        EXPECT_NE(title.find(" Environment    Temperature"), std::string::npos) << title;
    }
    EXPECT_NE(row.find(" AIC" + std::string(18, ' ') + "25.50 "), std::string::npos) << row;
}

TEST_F(HostCalc, ReportsBadRowsWithFileAndLineAndGoesOn) {
    CalcOptions options;
    options.itemsPath = WriteItems(
        "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
        "R-1,GB,abc,0,0\n"
        "R-1,GB,20,0,0\n"
        "R-1,ZZ,20,0,0\n"
        "\"R-1\"x,GB,20,0,0\n"
        "R-1,GB,20,0\n"
        "R-1,GB,40,0,0\n"
        "R-1,\"\x1b]0;owned\x07\nZ\",20,0,0\n");
    options.format = "csv";
    EXPECT_EQ(Run(options), kExitBadRows);
    const std::string items = options.itemsPath;
    // Control characters in what is echoed are shown, not obeyed.
    EXPECT_EQ(err_.str(), items + ":2: temperature \"abc\" is not a number\n" + items +
                              ":4: environment \"ZZ\" is neither 1 to 27 nor a code such as GB or AIC\n" +
                              items + ":5: text after a closing quote\n" + items +
                              ":6: expected 5 fields, found 4\n" + items +
                              ":8: environment \"\\x1b]0;owned\\x07\\nZ\" is neither 1 to 27 nor a code such as "
                              "GB or AIC\n");
    // The good rows were calculated all the same.
    EXPECT_NE(out_.str().find("R-1,1,20,0,0,3,,1,0\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("R-1,1,40,0,0,3,,3,0\n"), std::string::npos) << out_.str();
}

TEST_F(HostCalc, DatabaseErrorFailsTheItemOnceWithItsReasonAndTheBatchGoesOn) {
    {
        framework::Database library;
        library.Open(test::SqliteConnectString(scratch_ / "lib.sqlite"));
        test::RunSqlScript(library, test::ExampleFile("part_fr.sql"));
        for (int i = 1; i <= 3; ++i) {
            library.ExecuteSQL("INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, FRTime) VALUES ('F-1', " +
                               std::to_string(i) + ", 1, " + std::to_string(40 * i) + ")");
        }
    }
    CalcOptions options;
    options.itemsPath = WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
                                   "F-1,GB,25,0,2\nR-1,GB,20,0,0\n");
    options.format = "csv";
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 0);
    EXPECT_EQ(Run(options), kExitDatabaseErrors);
    framework::odbc::ClearFaults();
    EXPECT_EQ(err_.str(), options.itemsPath + ":2: part F-1: database error: HY000 injected fault\n");
    EXPECT_NE(out_.str().find("F-1,1,25,0,2,1,database error: HY000 injected fault,0,0\n"
                              "R-1,1,20,0,0,3,,1,0\n"),
              std::string::npos)
        << out_.str();
}

TEST_F(HostCalc, FatalErrorsAreOneClearLine) {
    const struct {
        const char* name;
        std::string items;
        std::string primary;
        std::string expected;
    } rows[] = {
        {"missing items file", (scratch_ / "none.csv").string(), "",
         "cannot open the items file " + (scratch_ / "none.csv").string()},
        {"missing library file", WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"),
         (scratch_ / "none.sqlite").string(), "no library file " + (scratch_ / "none.sqlite").string()},
        {"unreachable server, password hidden", WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"),
         "DRIVER={No Such Driver};Server=127.0.0.1;Pwd=secret",
         "cannot open the primary connection DRIVER={No Such Driver};Server=127.0.0.1;Pwd=***: "},
        {"bad header", WriteItems("Part,Env\n"), "", ":1: unknown column \"Part\""},
        {"items file is a folder", scratch_.Path().string(), "", "cannot read the items file " +
         scratch_.Path().string() + ": it is a folder"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CalcOptions options;
        options.itemsPath = row.items;
        options.primary = row.primary;
        EXPECT_EQ(Run(options), kExitFatal);
        const std::string err = err_.str();
        EXPECT_NE(err.find(row.expected), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.find("secret"), std::string::npos);
    }
}

TEST_F(HostCalc, LibraryThatIsNoLibraryFailsEachItemWithTheDatabasesReason) {
    std::filesystem::copy_file(scratch_ / "lib.sqlite", scratch_ / "truncated.sqlite");
    std::filesystem::resize_file(scratch_ / "truncated.sqlite", 1000);
    std::ofstream(scratch_ / "text.sqlite") << std::string(4096, 'x');
    std::ofstream(scratch_ / "empty.sqlite");
    {
        framework::Database other;
        other.Open(test::SqliteConnectString(scratch_ / "tableless.sqlite"));
        other.ExecuteSQL("CREATE TABLE Other (x INTEGER)");
    }
    const struct {
        const char* file;
        std::string tableReason;  // of the item with Mode 0
        std::string fieldReason;  // of the item with Mode 2
    } rows[] = {
        {"text.sqlite", "file is not a database", "file is not a database"},
        {"truncated.sqlite", "database disk image is malformed", "database disk image is malformed"},
        {"empty.sqlite", "no such table: FRTable", "no such table: PartFR"},
        {"tableless.sqlite", "no such table: FRTable", "no such table: PartFR"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        CalcOptions options;
        options.itemsPath = WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
                                       "R-1,GB,30,0,0\nR-1,GB,30,0,2\n");
        options.primary = (scratch_ / row.file).string();
        options.format = "csv";
        EXPECT_EQ(Run(options), kExitDatabaseErrors);
        EXPECT_NE(out_.str().find("R-1,1,30,0,0,1,database error: HY000 " + row.tableReason + ",0,0\n"),
                  std::string::npos)
            << out_.str();
        EXPECT_NE(out_.str().find("R-1,1,30,0,2,1,database error: HY000 " + row.fieldReason + ",0,0\n"),
                  std::string::npos)
            << out_.str();
        // Each error once, with the item's place.
        EXPECT_EQ(err_.str(), options.itemsPath + ":2: part R-1: database error: HY000 " + row.tableReason +
                                  "\n" + options.itemsPath + ":3: part R-1: database error: HY000 " +
                                  row.fieldReason + "\n");
    }
}

TEST_F(HostCalc, LibraryFileNameIsOnlyAFileName) {
    for (const std::string name : {"a;b.sqlite", "x=y.sqlite", "{c}.sqlite", "d;{}}=?#%41.sqlite"}) {
        SCOPED_TRACE(name);
        ScratchDirectory folder;
        std::filesystem::copy_file(scratch_ / "lib.sqlite", folder / name);
        CalcOptions options;
        options.itemsPath = WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\nR-1,GB,20,0,0\n");
        options.primary = (folder / name).string();
        options.format = "csv";
        EXPECT_EQ(Run(options), kExitOk) << err_.str();
        EXPECT_NE(out_.str().find("R-1,1,20,0,0,3,,1,0\n"), std::string::npos) << out_.str();
        // No file was made of a piece of the name.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }
}

TEST_F(HostCalc, ProgramExitCodesAndMessages) {
    const std::string items = WriteItems("PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
                                         "R-1,GB,30,102,0\nR-1,GB,x,0,0\n");
    std::string many = "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n";
    for (int i = 0; i < 3000; ++i) {
        many += "R-1,GB,30,102,0\n";  // more than a pipe holds, so a write meets its closed end
    }
    const std::string manyItems = (scratch_ / "many.csv").string();
    std::ofstream(manyItems) << many;
    const std::string host = test::HostProgram();
    const std::string library = " --primary " + (scratch_ / "lib.sqlite").string();
    const std::string output = (scratch_ / "out.csv").string();
    const std::string err = (scratch_ / "err.txt").string();
    const struct {
        const char* name;
        std::string command;
        int exitCode;
        std::string expected;
    } rows[] = {
        {"bad row", host + " calc --format csv --items " + items + library + " 2>&1", kExitBadRows,
         "R-1,1,30,102,0,3,,2,0\n" + items + ":3: temperature \"x\" is not a number\n"},
        {"unknown argument named", host + " calc --bogus 2>&1", kExitUsage, "argument was not expected: --bogus"},
        {"unknown argument named before a missing one", host + " import --bogus 2>&1", kExitUsage,
         "argument was not expected: --bogus"},
        {"unknown command named", host + " frob 2>&1", kExitUsage, "there is no command frob"},
        {"items missing", host + " calc 2>&1", kExitUsage, "calc: --items is required"},
        {"unknown format", host + " calc --items " + items + " --format xml 2>&1", kExitUsage, "--format"},
        {"help lists the exit codes", host + " calc --help", kExitOk, "  64  the command line is wrong"},
        {"full disk", host + " calc --items " + items + library + " 2>&1 >/dev/full", kExitFatal,
         "tavrin21-host: cannot write the results to standard output: No space left on device\n"},
        {"closed pipe",
         "(" + host + " calc --items " + manyItems + library + " 2>" + err + "; echo \"exit $?\" >>" + err +
             ") | true; cat " + err,
         kExitOk, "tavrin21-host: cannot write the results to standard output: Broken pipe\nexit 1\n"},
        {"output file", host + " calc --format csv --items " + items + library + " --output " + output +
         " 2>/dev/null; cat " + output, kExitOk, "R-1,1,30,102,0,3,,2,0\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const test::ProgramRun run = test::RunShell(row.command);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.output;
        EXPECT_NE(run.output.find(row.expected), std::string::npos) << run.output;
    }
    // Nothing is left beside the output file, and a failed run leaves it as it was.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.Path()), {}), 6);
    std::ofstream(output) << "old";
    EXPECT_EQ(test::RunShell(host + " calc --items " + items + " --primary none.sqlite --output " + output +
                             " 2>&1").exitCode,
              kExitFatal);
    std::ifstream kept(output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
}

}  // namespace
}  // namespace tavrin21::host
