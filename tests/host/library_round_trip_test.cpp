// Libraries made, filled and written back by the program, on SQLite files and on PostgreSQL:
// export then import gives the same CSV, numbers to the last bit.

#include "framework/odbc_api.h"
#include "framework/recordset.h"
#include "host/calc_command.h"
#include "host/import_command.h"
#include "host/init_db_command.h"
#include "host/library_tables.h"
#include "host/table_rows.h"
#include "tests/host/host_program.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

const std::string kExampleLibrary =
    (std::filesystem::path(TAVRIN21_HOST_PATH).parent_path() / "library.sqlite").generic_string();

// Written as export writes it: key order, shortest exact numbers, NULL as an empty field.
const char* const kAwkwardHistory =
    "PartNumber,TimeNumber,EnvCode,ProcCode,FRTime,FRDate,IsCencored,Remark,ItemNumber,Tc,"
    "TimeBtw,Mtbfc,Mtbfi,GrowthRate\n"
    "\"A \"\"quoted\"\", part\",-2147483648,27,255,0.30000000000000004,2026-12-06,1,\"two\nlines\","
    "2147483647,1e-300,123456789.12345679,5e-324,-1.7976931348623157e+308,0.1\n"
    "B,1,1,0,4.35e-05,,0,,,7.6589959852150304,,,,\n";

class LibraryRoundTrip : public test::BackendTest {
  protected:
    test::ProgramRun Run(const std::vector<std::string>& arguments) {
        return test::RunHostProgram(scratch_.Path(), arguments);
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(scratch_ / name, std::ios::binary) << text;
        return (scratch_ / name).string();
    }

    test::ScratchDirectory scratch_;
};

TEST_P(LibraryRoundTrip, ExportThenImportGivesTheSameCsv) {
    const std::string library = SourceForProgram("made");
    ASSERT_EQ(Run({"init-db", library}).exitCode, kExitOk);
    for (const std::string& table : TableNames()) {
        SCOPED_TRACE(table);
        const auto exported = Run({"export", "--db", kExampleLibrary, "--table", table});
        ASSERT_EQ(exported.exitCode, kExitOk) << exported.err;
        const auto imported =
            Run({"import", "--db", library, "--table", table, Write(table + ".csv", exported.out)});
        ASSERT_EQ(imported.exitCode, kExitOk) << imported.err;
        const std::string again = (scratch_ / (table + ".again.csv")).string();
        ASSERT_EQ(Run({"export", "--db", library, "--table", table, "--output", again}).exitCode,
                  kExitOk);
        EXPECT_EQ(test::FileText(again), exported.out);
    }
}

// The awkward rows come back unchanged, and stay so while init-db refuses to replace them.
TEST_P(LibraryRoundTrip, AwkwardRowsComeBackAndInitDbReplacesThemOnlyWhenForced) {
    const std::string library = SourceForProgram("awkward");
    ASSERT_EQ(Run({"init-db", library}).exitCode, kExitOk);
    const auto imported =
        Run({"import", "--db", library, "--table", "PartFR", Write("h.csv", kAwkwardHistory)});
    ASSERT_EQ(imported.exitCode, kExitOk) << imported.err;
    const auto refused = Run({"init-db", library});
    EXPECT_EQ(refused.exitCode, kExitFatal);
    EXPECT_NE(refused.err.find("already; give --force to replace"), std::string::npos)
        << refused.err;
    EXPECT_EQ(Run({"export", "--db", library, "--table", "PartFR"}).out, kAwkwardHistory);
    EXPECT_EQ(Run({"init-db", "--force", library}).exitCode, kExitOk);
    EXPECT_EQ(Run({"export", "--db", library, "--table", "PartFR"}).out,
              CsvHeader(*FindTable("PartFR")) + "\n");
}

// The rows are checked before anything is written; a row the database refuses all the same
// (here an injected fault on the second insert) rolls back the rows before it. The rows come on
// standard input ("-").
TEST_P(LibraryRoundTrip, ARowTheDatabaseRefusesUndoesTheRowsBeforeIt) {
    const std::string library = SourceForProgram("refusing");
    ASSERT_EQ(Run({"init-db", library}).exitCode, kExitOk);
    framework::odbc::InjectFault(framework::odbc::Call::Execute, 1);
    std::ostringstream out, err;
    std::istringstream rows(kAwkwardHistory);
    EXPECT_EQ(RunImport({library, "PartFR", "-", &rows}, out, err), kExitFatal);
    EXPECT_NE(err.str().find("(standard input):4: the database refused the row, nothing imported"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(Run({"export", "--db", library, "--table", "PartFR"}).out,
              CsvHeader(*FindTable("PartFR")) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Backends, LibraryRoundTrip, test::kAllBackends, test::BackendName);

// The columns import and export know are the columns of the schema init-db makes.
TEST(LibraryTables, MatchTheSchemaTheProgramMakes) {
    test::ScratchDirectory scratch;
    const std::string path = (scratch / "lib.sqlite").string();
    std::ostringstream out, err;
    ASSERT_EQ(RunInitDb({path, false}, out, err), kExitOk) << err.str();
    framework::Database database;
    database.Open(test::SqliteConnectString(path));
    for (const std::string& name : TableNames()) {
        SCOPED_TRACE(name);
        framework::Recordset rows(&database);
        rows.Open("SELECT * FROM " + name);
        std::string columns;
        for (const std::string& column : rows.ColumnNames()) {
            columns += (columns.empty() ? "" : ",") + column;
        }
        EXPECT_EQ(columns, CsvHeader(*FindTable(name)));
    }
}

TEST(HostProgram, IntroducesItselfAndEachCommand) {
    test::ScratchDirectory scratch;
    const auto version = test::RunHostProgram(scratch.Path(), {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("tavrin21-host 1.0.0.1\nmodule 1.0.0.1 ("), std::string::npos)
        << version.out;
    for (const char* command : {"calc", "columns", "init-db", "import", "export"}) {
        SCOPED_TRACE(command);
        const auto help = test::RunHostProgram(scratch.Path(), {command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out.find("Example"), std::string::npos) << help.out;
        EXPECT_NE(help.out.find(std::string("tavrin21-host ") + command), std::string::npos)
            << help.out;
    }
}

}  // namespace
}  // namespace tavrin21::host
