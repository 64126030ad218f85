// The host program end to end: an items file, a library made with the documented schema, the
// module loaded by path, and what the user reads.

#include "host/calc_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "framework/database.h"
#include "framework/odbc_api.h"
#include "framework/platform/process.h"
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
        "R-1,GB,40,0,0\n");
    options.format = "csv";
    EXPECT_EQ(Run(options), kExitBadRows);
    const std::string items = options.itemsPath;
    EXPECT_EQ(err_.str(), items + ":2: temperature \"abc\" is not a number\n" + items +
                              ":4: environment \"ZZ\" is neither 1 to 27 nor a code such as GB or AIC\n" +
                              items + ":5: text after a closing quote\n" + items +
                              ":6: expected 5 fields, found 4\n");
    // The good rows were calculated all the same.
    EXPECT_NE(out_.str().find("R-1,1,20,0,0,3,,1,0\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("R-1,1,40,0,0,3,,3,0\n"), std::string::npos) << out_.str();
}

TEST_F(HostCalc, DatabaseErrorWhileReadingNamesTheItemAndTheBatchGoesOn) {
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
    EXPECT_EQ(Run(options), kExitOk);
    framework::odbc::ClearFaults();
    EXPECT_EQ(err_.str().rfind(options.itemsPath + ":2: part F-1: HY000 (0) injected fault SELECT", 0), 0u)
        << err_.str();
    EXPECT_NE(out_.str().find("F-1,1,25,0,2,1,Database error while reading the part's data,0,0\n"
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

TEST_F(HostCalc, ProgramRunsTheExampleItemsAgainstAFileGivenOnTheCommandLine) {
    const std::string items = WriteItems(
        "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\nR-1,GB,30,102,0\nR-1,GB,x,0,0\n");
    const std::string command = std::string(TAVRIN21_HOST_PATH) + " calc --format csv --items " + items +
                                " --primary " + (scratch_ / "lib.sqlite").string() + " 2>&1";
    const std::optional<framework::ProgramRun> run = framework::RunProgram(command);
    ASSERT_TRUE(run.has_value()) << command;
    const std::string& output = run->output;
    EXPECT_EQ(run->exitCode, kExitBadRows) << output;
    EXPECT_NE(output.find("R-1,1,30,102,0,3,,2,0"), std::string::npos) << output;
    EXPECT_NE(output.find(items + ":3: temperature \"x\" is not a number"), std::string::npos) << output;
}

}  // namespace
}  // namespace tavrin21::host
