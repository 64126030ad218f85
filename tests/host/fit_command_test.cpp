// The fit command end to end on the example field histories: the module's numbers as calc
// reports them, the exact fit beside them, the plot file, and the runs that cannot report.

#include "host/fit_command.h"

#include "framework/database.h"
#include "host/calc_command.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tavrin21::host {
namespace {

FitOptions Options(std::string part,
                   std::string env,
                   std::string plot = "",
                   std::string format = "table") {
    return {"", std::move(part), std::move(env), std::move(plot), "", std::move(format)};
}

class HostFit : public ::testing::Test {
  protected:
    void SetUp() override {
        framework::Database database;
        database.Open(test::SqliteConnectString(library_));
        test::RunSqlScript(database, test::ExampleFile("part_fr.sql"));
        test::RunSqlScript(database, test::ExampleFile("field_data.sql"));
    }

    int Fit(FitOptions options) {
        options.database = library_.string();
        options.modulePath = TAVRIN21_MODULE_PATH;
        out_.str("");
        err_.str("");
        return RunFit(options, out_, err_);
    }

    // What calc reports for the part's Mode 2 item: the module's shape and scale.
    std::pair<float, float> CalcShapeAndScale(const std::string& part, const std::string& env) {
        std::ofstream(scratch_ / "items.csv")
            << "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n\"" << part << "\"," << env
            << ",25,0,2\n";
        CalcOptions options;
        options.itemsPath = (scratch_ / "items.csv").string();
        options.primary = library_.string();
        options.modulePath = TAVRIN21_MODULE_PATH;
        options.format = "json";
        std::ostringstream out, err;
        EXPECT_EQ(RunCalc(options, out, err), kExitOk) << err.str();
        const auto result = nlohmann::json::parse(out.str());
        return {result.at("Shape").get<float>(), result.at("Scale").get<float>()};
    }

    test::ScratchDirectory scratch_;
    std::filesystem::path library_ = scratch_ / "library.sqlite";
    std::ostringstream out_, err_;
};

TEST_F(HostFit, ReportsTheModulesFitAsCalcDoesBesideTheExactFit) {
    // Exact shapes from tests/tools/weibull_reference.py.
    const struct {
        const char* part;
        const char* env;
        std::size_t failures, suspensions;
        double exactShape;
    } kRows[] = {{"RLY-2210", "gf", 3, 0, 2.0291933955477002},
                 {"RLY-2210", "4", 2, 1, 1.9760793015513902},
                 {"FAN-0412", "GB", 8, 2, 1.387581143777934},
                 {"O'RING-3", "Ns", 15, 10, 4.0869648054540484}};
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::string(row.part) + " " + row.env);
        const auto [calcShape, calcScale] = CalcShapeAndScale(row.part, row.env);
        ASSERT_EQ(Fit(Options(row.part, row.env, "", "json")), kExitOk) << err_.str();
        const auto report = nlohmann::json::parse(out_.str());
        EXPECT_EQ(report["module"]["shape"].get<double>(), calcShape);
        EXPECT_EQ(report["module"]["scale"].get<double>(), calcScale);
        EXPECT_EQ(report["failures"].size(), row.failures);
        EXPECT_EQ(report["suspensions"].size(), row.suspensions);

        const double exactShape = report["exact"]["shape"];
        EXPECT_NEAR(exactShape, row.exactShape, 1e-9 * row.exactShape);
        EXPECT_NEAR(report["moduleVersusExact"]["shapePercent"].get<double>(),
                    (calcShape - exactShape) / exactShape * 100.0, 1e-9);
        EXPECT_GE(report["moduleVersusExact"]["negLogLikelihoodExcess"].get<double>(), 0.0);
    }
}

TEST_F(HostFit, WritesTheTableAndThePlot) {
    const std::string plot = (scratch_ / "fan.svg").string();
    ASSERT_EQ(Fit(Options("FAN-0412", "gb", plot)), kExitOk) << err_.str();
    for (const char* line : {"Weibull report for part FAN-0412, environment GB (1)\n",
                             "\n  shape                 1.40527153            1.387581144  ",
                             "\nModule against the exact fit: shape +1.27 %"}) {
        EXPECT_NE(out_.str().find(line), std::string::npos) << line << " in\n" << out_.str();
    }
    std::ifstream file(plot);
    const std::string svg{std::istreambuf_iterator<char>(file), {}};
    std::size_t failures = 0;
    for (auto at = svg.find("class=\"failure\""); at != std::string::npos;
         at = svg.find("class=\"failure\"", at + 1)) {
        ++failures;
    }
    EXPECT_EQ(failures, 8u);
    EXPECT_NE(svg.find("class=\"module-fit\""), std::string::npos);
}

TEST_F(HostFit, ExplainsWhyThereIsNoReport) {
    const struct {
        const char* name;
        FitOptions options;
        const char* error;
    } kRows[] = {
        {"NoFieldData", Options("NOPE", "GB"),
         "tavrin21-host: part NOPE has no field data in environment GB\n"},
        {"ModuleRefusesTheData", Options("PMP-77", "1"),
         "tavrin21-host: part PMP-77: Input failure statistics data are not valid for successful "
         "Weibull calculation\n"},
        {"UnknownEnvironment", Options("FAN-0412", "XX"),
         "tavrin21-host: environment \"XX\" is neither 1 to 27 nor a code such as GB or AIC\n"},
        {"PlotNotWritable", Options("FAN-0412", "GB", "/nonexistent/plot.svg"),
         "tavrin21-host: cannot write the plot /nonexistent/plot.svg: No such file or directory\n"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Fit(row.options), kExitFatal);
        EXPECT_EQ(err_.str(), row.error);
    }
}

}  // namespace
}  // namespace tavrin21::host
