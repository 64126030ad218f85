// import through the program: every bad row is named with its line and reason, and a file with
// any bad row leaves the library as it was.

#include "host/calc_command.h"
#include "tests/host/host_program.h"
#include "tests/support/scratch_directory.h"

#include <fstream>
#include <map>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

using test::RunHostProgram;

struct BadRowCase {
    const char* name;
    std::string table;
    std::string rows;      // after the header and a good row on line 2
    std::string expected;  // after "bad.csv:"
    int exitCode = kExitBadRows;
};

// A header in the spelling and case a user may give, and a good row.
const std::map<std::string, std::string> kHeaderAndGoodRow = {
    {"FRTable", "PartNumber,EnvCode,MinTemperature,MaxTemperature\nG-1,GB,0,10\n"},
    {"FRTablePoint", "partnumber,ENVCODE,Slot,Temperature,Rate\nR-1,GB,5,60,0.9\n"},
    {"PartFR",
     "PartNumber,TimeNumber,EnvCode,ProcCode,FRTime,IsCencored,Remark\nG-1,1,GB,0,30,0,ok\n"},
};

// Texts a server would cut or refuse.
const std::string kLongPart(63, 'P');
const std::string kLongRemark(256, 'r');

const BadRowCase kBadRows[] = {
    {"EnvironmentOutOfRange", "FRTable", "R-2,28,0,10\n",
     "3: EnvCode \"28\" is not between 1 and 27"},
    {"EnvironmentUnknownCode", "FRTable", "R-2,XX,0,10\n",
     "3: EnvCode \"XX\" is neither 1 to 27 nor a code"},
    {"MinimumAboveMaximum", "FRTable", "R-2,gb,50,10\n",
     "3: MinTemperature 50 is above MaxTemperature 10"},
    {"TemperatureNotANumber", "FRTable", "R-2,GB,abc,10\n",
     "3: MinTemperature \"abc\" is not a finite number"},
    {"TemperatureInfinite", "FRTable", "R-2,GB,0,inf\n",
     "3: MaxTemperature \"inf\" is not a finite number"},
    {"EmptyPart", "FRTable", ",GB,0,10\n", "3: PartNumber is empty"},
    {"MissingField", "FRTable", "R-2,GB,0\n", "3: expected 4 fields, found 3"},
    {"KeyInTheTable", "FRTable", "R-1,1,0,10\n",
     "3: a row with PartNumber R-1, EnvCode 1 is already in the table"},
    {"KeyTwiceInTheFile", "FRTable", "R-3,gb,0,1\nR-3,1,0,2\n",
     "4: a row with PartNumber R-3, EnvCode 1 is already on line 3"},
    {"QuoteLeftOpen", "FRTable", "\"R-4,GB,0,1\n", "3: "},
    {"UnknownColumnInHeader", "FRTable", "", "1: unknown column \"Comment\"", kExitFatal},
    {"SlotOutOfRange", "FRTablePoint", "R-1,GB,16,30,1\n",
     "3: Slot \"16\" is not a whole number from 0 to 15"},
    {"SlotNotWhole", "FRTablePoint", "R-1,GB,1.5,30,1\n",
     "3: Slot \"1.5\" is not a whole number from 0 to 15"},
    {"NegativeRate", "FRTablePoint", "R-1,GB,2,30,-0.1\n", "3: Rate -0.1 is negative"},
    {"UsablePointAtATemperatureOfTheTable", "FRTablePoint", "R-1,GB,2,25,0.7\n",
     "3: a point of PartNumber R-1, EnvCode 1 at Temperature 25 is already in the table"},
    {"UsablePointsAtOneTemperatureInTheFile", "FRTablePoint", "R-1,GB,2,30,1\nR-1,GB,3,30,2\n",
     "4: a point of PartNumber R-1, EnvCode 1 at Temperature 30 is already on line 3"},
    {"PointWithoutItsTableRow", "FRTablePoint", "R-9,GB,0,25,1\n",
     "3: no FRTable row for PartNumber R-9, EnvCode 1"},
    {"CensoringFlagNotZeroOrOne", "PartFR", "F-2,1,GB,0,30,2,x\n",
     "3: IsCencored \"2\" is not a whole number from 0 to 1"},
    {"TimeNotPositive", "PartFR", "F-2,1,GB,0,0,0,x\n", "3: FRTime 0 is not a positive time"},
    {"ProcessBeyondItsByte", "PartFR", "F-2,1,GB,256,30,0,x\n",
     "3: ProcCode \"256\" is not a whole number from 0 to 255"},
    {"HistoryKeyInTheTable", "PartFR", "F-1,1,GB,0,40,0,x\n",
     "3: a row with PartNumber F-1, EnvCode 1, ProcCode 0, TimeNumber 1 is already in the table"},
    {"PartLongerThanItsColumn", "PartFR", kLongPart + ",2,GB,0,30,0,x\n",
     "3: PartNumber \"" + kLongPart + "\" is longer than 62 bytes"},
    // Reading goes on after a bad row, so that every bad row is named.
    {"RemarkLongerThanItsColumnAfterABadRow", "PartFR",
     kLongPart + ",2,GB,0,30,0,x\nF-3,2,GB,0,30,0," + kLongRemark + "\n",
     "4: Remark \"" + kLongRemark + "\" is longer than 255 bytes"},
};

class HostImport : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Run({"init-db", library_}).exitCode, kExitOk);
        Import("FRTable",
               "\xEF\xBB\xBFPartNumber,EnvCode,MinTemperature,MaxTemperature\nR-1,GB,0,100\n");
        Import("FRTablePoint",
               "PartNumber,EnvCode,Slot,Temperature,Rate\nR-1,GB,0,25,0.5\nR-1,GB,1,25,0\n");
        Import("PartFR",
               "PartNumber,TimeNumber,EnvCode,ProcCode,FRTime,IsCencored\nF-1,1,GB,0,50,0\n");
    }

    test::ProgramRun Run(const std::vector<std::string>& arguments) {
        return RunHostProgram(scratch_.Path(), arguments);
    }

    std::string Write(const std::string& text) {
        std::ofstream(scratch_ / "bad.csv", std::ios::binary) << text;
        return (scratch_ / "bad.csv").string();
    }

    void Import(const std::string& table, const std::string& csv) {
        const auto run = Run({"import", "--db", library_, "--table", table, Write(csv)});
        ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    }

    std::string Export(const std::string& table) {
        return Run({"export", "--db", library_, "--table", table}).out;
    }

    test::ScratchDirectory scratch_;
    std::string library_ = (scratch_ / "lib.sqlite").string();
};

TEST_F(HostImport, ABadRowIsNamedByLineAndReasonAndNothingIsWritten) {
    for (const BadRowCase& row : kBadRows) {
        SCOPED_TRACE(row.name);
        const std::string before = Export(row.table);
        std::string csv = kHeaderAndGoodRow.at(row.table);
        if (row.exitCode == kExitFatal) {
            csv.insert(csv.find('\n'), ",Comment");
        }
        const std::string path = Write(csv + row.rows);
        const auto run = Run({"import", "--db", library_, "--table", row.table, path});
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE(run.err.find(path + ":" + row.expected), std::string::npos) << run.err;
        EXPECT_EQ(Export(row.table), before);
    }
}

}  // namespace
}  // namespace tavrin21::host
