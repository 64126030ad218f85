// The host program end to end: an items file, a library made with the documented schema, the
// module loaded by path, and what the user reads.

#include "host/calc_command.h"

#include "framework/database.h"
#include "framework/odbc_api.h"
#include "framework/platform/host_system.h"
#include "tests/host/host_program.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tavrin21::host {
namespace {

using test::ScratchDirectory;
using ::testing::HasSubstr;

const std::string kHeader = "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n";

// `rows` written `times` times over.
std::string Repeated(const std::string& rows, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += rows;
    }
    return text;
}

// More items than a pipe holds, so a write meets a closed end.
const std::string kManyItems = kHeader + Repeated("R-1,GB,30,102,0\n", 3000);

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

    // The table of field histories in `file`, with `failures` failure times of `part` in
    // environment 1.
    void AddFieldHistory(const std::string& file, const std::string& part, int failures) {
        framework::Database library;
        library.Open(test::SqliteConnectString(scratch_ / file));
        test::RunSqlScript(library, test::ExampleFile("part_fr.sql"));
        for (int i = 1; i <= failures; ++i) {
            library.ExecuteSQL(
                "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, FRTime) VALUES ('" + part +
                "', " + std::to_string(i) + ", 1, " + std::to_string(40 * i) + ")");
        }
    }

    std::string Items() const { return (scratch_ / "items.csv").string(); }

    // `text` as the file `name` in the scratch folder, the bytes as given (no CR added on
    // Windows); returns its path.
    std::string WriteItems(const std::string& text, const std::string& name = "items.csv") {
        const auto path = (scratch_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // calc with CSV output on the items `rows` below the usual header.
    int RunCsv(const std::string& rows, const std::string& primary = "") {
        CalcOptions options;
        options.itemsPath = WriteItems(kHeader + rows);
        options.primary = primary;
        options.format = "csv";
        return Run(options);
    }

    int Run(CalcOptions options) {
        options.modulePath = TAVRIN21_MODULE_PATH;
        options.lookahead = lookahead_;
        if (options.primary.empty()) {
            options.primary = (scratch_ / "lib.sqlite").string();
        }
        out_.str("");
        err_.str("");
        return RunCalc(options, out_, err_);
    }

    ScratchDirectory scratch_;
    std::ostringstream out_, err_;
    std::size_t lookahead_ = CalcOptions{}.lookahead;
};

// The same batch reading rows and tables ahead, and item by item, must give the same results
// and messages in the same order.
class HostCalcEitherWay : public HostCalc, public ::testing::WithParamInterface<std::size_t> {
  protected:
    HostCalcEitherWay() { lookahead_ = GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Lookahead,
                         HostCalcEitherWay,
                         ::testing::Values(CalcOptions{}.lookahead, std::size_t{0}),
                         [](const auto& info) {
                             return info.param == 0 ? std::string("ItemByItem")
                                                    : std::string("ReadingAhead");
                         });

TEST_P(HostCalcEitherWay, WritesOneRowPerItemWithItsLineAndOnlyNumbersToTrust) {
    AddFieldHistory("lib.sqlite", "F-1", 3);
    AddFieldHistory("second.sqlite", "", 0);
    CalcOptions options;
    // Header names in any case; columns the host does not know are carried and ignored.
    options.itemsPath = WriteItems(
        "partnumber,ENVIRONMENTCODE,Temperature,Comment,MethodCode,mode,Note\n"
        "R-1,GB,30,\"straight, 102\",102,0,\n"
        "\"R-1\",1,20,,0,0,\n"
        ",GB,30,,0,0,\n"
        "R-1,GB,130,,0,0,\n"
        "NOPE,GB,30,,0,0,\n"
        "S-1,gms,40,,0,0,\n"
        "F-1,GB,25,,0,2,\n"
        "S-1,GB,25,,0,2,\n");
    options.secondary = (scratch_ / "second.sqlite").string();
    options.format = "csv";
    EXPECT_EQ(Run(options), kExitOk) << err_.str();
    const std::string csv = out_.str();
    EXPECT_EQ(csv,
              "Line,PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Method,Status,Rate,"
              "Shape,Scale,Message\n"
              "2,R-1,1,30,102,0,straight line,3,2,,,\n"
              "3,R-1,1,20,0,0,logarithmic,3,1,,,\n"
              "4,,1,30,0,0,logarithmic,1,,,,Item without Part Name\n"
              "5,R-1,1,130,0,0,logarithmic,1,,,,Temperature out of range\n"
              "6,NOPE,1,30,0,0,logarithmic,1,,,,No data for this part in ZOVA FR Table Library\n"
              "7,S-1,2,40,0,0,logarithmic,3,0.5,,,\n"
              "8,F-1,1,25,0,2,field data,3,,1.8774686,66.79567,\n"
              "9,S-1,1,25,0,2,field data,3,,,,no field data\n");
    EXPECT_EQ(err_.str(), options.itemsPath + ":1: ignoring the columns \"Comment\", \"Note\"\n");

    // Json lines hold the same fields, null where csv is empty, and numbers that read back as
    // the same singles.
    options.format = "json";
    EXPECT_EQ(Run(options), kExitOk) << err_.str();
    std::istringstream csvLines(csv), jsonLines(out_.str());
    std::string header, csvLine, jsonLine, name, field;
    std::getline(csvLines, header);
    while (std::getline(csvLines, csvLine)) {
        ASSERT_TRUE(std::getline(jsonLines, jsonLine)) << csvLine;
        SCOPED_TRACE(jsonLine);
        const auto object = nlohmann::json::parse(jsonLine);
        EXPECT_EQ(object.size(), 12u);
        for (std::istringstream names(header), fields(csvLine);
             std::getline(names, name, ',') && std::getline(fields, field, ',');) {
            const auto& value = object.at(name);
            if (value.is_number()) {
                EXPECT_EQ(float(value.get<double>()), std::strtof(field.c_str(), nullptr)) << name;
            } else {
                EXPECT_EQ(value.is_null() ? "" : value.get<std::string>(), field) << name;
            }
        }
    }
    EXPECT_FALSE(std::getline(jsonLines, jsonLine));

    // The same items on standard input ("-") give the same rows.
    std::ifstream itemsFile(options.itemsPath, std::ios::binary);
    options.itemsPath = "-";
    options.standardInput = &itemsFile;
    options.format = "csv";
    EXPECT_EQ(Run(options), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), csv);
    EXPECT_EQ(err_.str(), "(standard input):1: ignoring the columns \"Comment\", \"Note\"\n");
}

TEST_P(HostCalcEitherWay, TableShowsRepeatedTitleLinesOnceAndKeepsItsShapeOverALargeBatch) {
    CalcOptions options;
    options.itemsPath = WriteItems(kHeader + Repeated("R-1,GB,25.5,0,0\nR-1,1,40,102,0\n", 5000));
    EXPECT_EQ(Run(options), kExitOk) << err_.str();
    // The module's two title lines are the same text: shown once, over the rule. Each module
    // cell is cut to the field's length (13).
    EXPECT_EQ(out_.str().find("\n-----  ---"), out_.str().find('\n')) << out_.str().substr(0, 500);
    EXPECT_NE(out_.str().find("\n    2  R-1" + std::string(20, ' ') + "GB" + std::string(19, ' ') +
                              "25.50   logarithmic    calculated"),
              std::string::npos);
    // Widths are fixed from the start: every row, with no message, ends where Rate does.
    std::istringstream lines(out_.str());
    std::string title, row;
    std::getline(lines, title);
    std::getline(lines, row);
    int rows = 0;
    for (; std::getline(lines, row); ++rows) {
        ASSERT_EQ(row.size(), title.find("Rate") + 4) << row;
    }
    EXPECT_EQ(rows, 10000);
}

TEST_P(HostCalcEitherWay, ReportsBadRowsWithFileAndLineAndGoesOn) {
    EXPECT_EQ(
        RunCsv("R-1,GB,abc,0,0\nR-1,GB,20,0,0\nR-1,ZZ,20,0,0\n\"R-1\"x,GB,20,0,0\nR-1,GB,20,0\n"
               "R-1,GB,40,0,0\nR-1,\"\x1b]0;owned\x07\nZ\",20,0,0\n"),
        kExitBadRows);
    const std::string items = Items();
    // Control characters in what is echoed are shown, not obeyed.
    EXPECT_EQ(
        err_.str(),
        items + ":2: temperature \"abc\" is not a number\n" + items +
            ":4: environment \"ZZ\" is neither 1 to 27 nor a code such as GB or AIC\n" + items +
            ":5: text after a closing quote\n" + items + ":6: expected 5 fields, found 4\n" +
            items +
            ":8: environment \"\\x1b]0;owned\\x07\\nZ\" is neither 1 to 27 nor a code such as "
            "GB or AIC\n");
    // The good rows were calculated all the same.
    EXPECT_THAT(out_.str(), HasSubstr("\n3,R-1,1,20,0,0,logarithmic,3,1,,,\n"));
    EXPECT_THAT(out_.str(), HasSubstr("\n7,R-1,1,40,0,0,logarithmic,3,3,,,\n"));
}

TEST_P(HostCalcEitherWay, DatabaseErrorFailsTheItemOnceWithItsReasonAndTheBatchGoesOn) {
    AddFieldHistory("lib.sqlite", "F-1", 3);
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 0);
    const int exitCode = RunCsv("F-1,GB,25,0,2\nR-1,GB,20,0,0\n");
    framework::odbc::ClearFaults();
    if (lookahead_ > 0) {
        // The fault met the reading ahead, which then left each item to its own queries.
        EXPECT_EQ(exitCode, kExitOk) << err_.str();
        EXPECT_THAT(out_.str(), HasSubstr("2,F-1,1,25,0,2,field data,3,,1.8774686,66.79567,\n"
                                          "3,R-1,1,20,0,0,logarithmic,3,1,,,\n"));
        return;
    }
    EXPECT_EQ(exitCode, kExitDatabaseErrors);
    EXPECT_EQ(err_.str(), Items() + ":2: part F-1: database error: HY000 injected fault\n");
    EXPECT_THAT(out_.str(),
                HasSubstr("2,F-1,1,25,0,2,field data,1,,,,database error: HY000 injected fault\n"
                          "3,R-1,1,20,0,0,logarithmic,3,1,,,\n"));
}

TEST_P(HostCalcEitherWay, LibraryThatIsNoLibraryFailsEachItemWithTheDatabasesReason) {
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
        {"truncated.sqlite", "database disk image is malformed",
         "database disk image is malformed"},
        {"empty.sqlite", "no such table: FRTable", "no such table: PartFR"},
        {"tableless.sqlite", "no such table: FRTable", "no such table: PartFR"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string error = "database error: HY000 ";
        EXPECT_EQ(RunCsv("R-1,GB,30,0,0\nR-1,GB,30,0,2\n", (scratch_ / row.file).string()),
                  kExitDatabaseErrors);
        EXPECT_THAT(out_.str(), HasSubstr("2,R-1,1,30,0,0,logarithmic,1,,,," + error +
                                          row.tableReason + "\n3,R-1,1,30,0,2,field data,1,,,," +
                                          error + row.fieldReason + "\n"));
        // Each error once, with the item's place.
        EXPECT_EQ(err_.str(), Items() + ":2: part R-1: " + error + row.tableReason + "\n" +
                                  Items() + ":3: part R-1: " + error + row.fieldReason + "\n");
    }
}

TEST_P(HostCalcEitherWay, LibraryFileNameIsOnlyAFileName) {
    for (const std::string name :
         {"a;b.sqlite", "x=y.sqlite", "{c}.sqlite", "d;{}}=?#%41.sqlite"}) {
        SCOPED_TRACE(name);
        if (framework::HostIsWindows() && name.find('?') != std::string::npos) {
            continue;  // not a name Windows allows
        }
        ScratchDirectory folder;
        std::filesystem::copy_file(scratch_ / "lib.sqlite", folder / name);
        EXPECT_EQ(RunCsv("R-1,GB,20,0,0\n", (folder / name).string()), kExitOk) << err_.str();
        EXPECT_THAT(out_.str(), HasSubstr("2,R-1,1,20,0,0,logarithmic,3,1,,,\n"));
        // No file was made of a piece of the name.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }
}

TEST_F(HostCalc, ProgramExitCodesAndMessages) {
    const std::string items = WriteItems(kHeader + "R-1,GB,30,102,0\nR-1,GB,x,0,0\n");
    const std::string manyItems = WriteItems(kManyItems, "many.csv");
    const std::string library = (scratch_ / "lib.sqlite").string();
    AddFieldHistory("lib.sqlite", "F-1", 3);
    const std::string fieldItems = WriteItems(kHeader + "F-1,GB,25,0,2\n", "field.csv");
    const std::string output = (scratch_ / "out.csv").string();
    const std::string badHeader = WriteItems("Part,Env\n", "bad-header.csv");
    const std::string none = (scratch_ / "none.csv").string(), folder = scratch_.Path().string();
    const std::string kNothing = "(nothing)";
    const struct {
        const char* name;
        int exitCode;
        std::string out, err;  // found in what it wrote there, or kNothing
        std::vector<std::string> arguments;
    } rows[] = {
        // clang-format off
        {"unknown argument named", kExitUsage, "", "argument was not expected: --bogus", {"calc", "--bogus"}},
        {"unknown argument named before a missing one", kExitUsage, "", "argument was not expected: --bogus", {"import", "--bogus"}},
        {"unknown command named", kExitUsage, "", "there is no command frob", {"frob"}},
        {"items missing", kExitUsage, "", "calc: --items is required", {"calc"}},
        {"unknown format", kExitUsage, "", "--format", {"calc", "--items", items, "--format", "xml"}},
        {"help lists the exit codes", kExitOk, "  64  the command line is wrong", kNothing, {"calc", "--help"}},
        {"fit's help lists its own", kExitOk, "Exit codes: 0 the report was written", kNothing, {"fit", "--help"}},
        {"an empty value is a wrong command line, not the default library", kExitUsage, "", "--primary: the value is empty",
         {"calc", "--items", items, "--primary", ""}},
        {"an empty path too", kExitUsage, "", "PATH: the value is empty\nRun 'tavrin21-host init-db --help'", {"init-db", ""}},
        {"a bad environment is a wrong command line", kExitUsage, "", "\nRun 'tavrin21-host fit --help' for the usage.\n",
         {"fit", "--part", "P", "--env", "XX"}},
        {"lookahead not a count", kExitUsage, "", "--lookahead", {"calc", "--items", items, "--lookahead", "-1"}},
        {"output file", kExitBadRows, kNothing, items + ":3: temperature \"x\" is not a number\n",
         {"calc", "--format", "csv", "--items", items, "--primary", library, "--output", output}},
        // A fatal error is one line; a failed run leaves the output file as it was.
        {"missing library file", kExitFatal, kNothing, "no library file none.sqlite",
         {"calc", "--items", items, "--primary", "none.sqlite", "--output", output}},
        {"missing items file", kExitFatal, "", "cannot open the items file " + none, {"calc", "--items", none}},
        {"items file is a folder", kExitFatal, "", "cannot read the items file " + folder + ": it is a folder", {"calc", "--items", folder}},
        {"primary is a folder", kExitFatal, kNothing, folder + " is a folder, not a library file",
         {"calc", "--items", items, "--primary", folder, "--output", output}},
        {"library file is a folder", kExitFatal, "", folder + " is a folder, not a library file", {"init-db", "--force", folder}},
        {"bad header", kExitFatal, "", badHeader + ":1: the header has no column PartNumber", {"calc", "--items", badHeader, "--primary", library}},
        {"unreachable server, password hidden", kExitFatal, "", "cannot open the primary connection DRIVER={No Such Driver};Server=127.0.0.1;Pwd=***: ",
         {"calc", "--items", items, "--primary", "DRIVER={No Such Driver};Server=127.0.0.1;Pwd=secret"}},
        // A long batch shows no progress where standard error is not a terminal.
        {"no progress", kExitOk, "", kNothing, {"calc", "--items", manyItems, "--primary", library}},
        // The program ends while the fit's threads sleep: nothing waits for them, nothing fails.
        {"fit, then exit", kExitOk, "2,F-1,1,25,0,2,field data,3,,1.8774686,66.79567,\n", kNothing,
         {"calc", "--format", "csv", "--items", fieldItems, "--primary", library}},
        // clang-format on
    };
    const auto holds = [&](const std::string& text, const std::string& expected) {
        return expected == kNothing ? text.empty() : text.find(expected) != std::string::npos;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const test::ProgramRun run = test::RunHostProgram(scratch_.Path(), row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_TRUE(holds(run.out, row.out)) << run.out.substr(0, 500);
        EXPECT_TRUE(holds(run.err, row.err)) << run.err;
        if (row.exitCode == kExitFatal) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
        EXPECT_EQ(run.err.find("secret"), std::string::npos);
    }
    EXPECT_NE(test::FileText(output).find("\n2,R-1,1,30,102,0,straight line,3,2,,,\n"),
              std::string::npos);
    // Nothing is left beside the output file: the items, the libraries, standard error.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.Path()), {}), 8);
}

// What only a POSIX system offers: a full device, a pipe whose reader goes away, a signal to a
// program waiting on a FIFO.
TEST_F(HostCalc, ProgramMeetsAFullDiskAClosedPipeAndASignal) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "needs /dev/full, a FIFO, SIGTERM and a pipe closed early by a POSIX shell";
    }
    const auto word = [](const std::filesystem::path& path) { return "'" + path.string() + "'"; };
    const std::string host = word(TAVRIN21_HOST_PATH);
    const std::string items = word(WriteItems(kHeader + "R-1,GB,30,102,0\n"));
    const std::string calc =
        host + " calc --primary " + word(scratch_ / "lib.sqlite") + " --items ";
    const std::string err = word(scratch_ / "err.txt");
    const std::string output = (scratch_ / "out.csv").string();
    std::ofstream(output) << "old";
    std::filesystem::create_directory(scratch_ / "stopped");
    std::filesystem::create_directory(scratch_ / "linked");
    const struct {
        const char* name;
        std::string command;
        std::string expected;
    } rows[] = {
        {"full disk", calc + items + " 2>&1 >/dev/full",
         "tavrin21-host: cannot write the results to standard output: No space left on device\n"},
        // An output that is no regular file is written to, never replaced; a link stays a link.
        {"results to a full device",
         calc + items + " --output /dev/full 2>&1; test -c /dev/full && echo kept",
         "tavrin21-host: cannot write the results to /dev/full: No space left on device\nkept\n"},
        {"results through a link",
         "cd " + word(scratch_ / "linked") + " && ln -s real.csv link.csv && " + calc + items +
             " --format csv --output link.csv; test -L link.csv && head -c 15 real.csv",
         "Line,PartNumber"},
        {"library made through a link",
         "cd " + word(scratch_ / "linked") + " && ln -s made.sqlite made-link.sqlite && " + host +
             " init-db made-link.sqlite >/dev/null && test -L made-link.sqlite && test -f "
             "made.sqlite && echo kept",
         "kept\n"},
        // /dev/stdout is the program's own standard output, written as the shell set it up.
        {"results to /dev/stdout, a pipe",
         calc + items + " --format csv --output /dev/stdout | head -c 15", "Line,PartNumber"},
        {"results to /dev/stdout, a file appended to",
         "cd " + word(scratch_ / "linked") + " && echo earlier >log.txt && " + calc + items +
             " --format csv --output /dev/stdout >>log.txt; head -c 23 log.txt",
         "earlier\nLine,PartNumber"},
        {"closed pipe",
         "(" + calc + word(WriteItems(kManyItems, "many.csv")) + " 2>" + err +
             "; echo \"exit $?\" >>" + err + ") | true; cat " + err,
         "tavrin21-host: cannot write the results to standard output: Broken pipe\nexit 1\n"},
        // Ended while it waits for items (a pipe that never ends): the output file is as it was.
        // A background job ignores SIGINT, so the test sends SIGTERM.
        {"ended while waiting",
         "cd " + word(scratch_ / "stopped") + " && mkfifo items.csv && exec 3<>items.csv && { " +
             calc + "items.csv --output " + word(output) +
             " & p=$!; sleep 0.5; kill -TERM $p; wait $p; echo \"exit $?\"; }",
         "exit 143\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto run = framework::RunCommandLine(row.command);
        ASSERT_TRUE(run);
        EXPECT_NE(run->output.find(row.expected), std::string::npos) << run->output;
    }
    EXPECT_EQ(test::FileText(output), "old");
    // No temporary is left beside the output file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.Path()), {}), 8);
}

}  // namespace
}  // namespace tavrin21::host
