// The fit command end to end on the example field histories: the module's numbers as calc
// reports them, the exact fit beside them, the plot file, and the runs that cannot report.

#include "host/fit_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "framework/database.h"
#include "host/calc_command.h"
#include "host/csv_reader.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

namespace tavrin21::host {
namespace {

FitOptions Options(std::string part, std::string env, std::string plot = "", std::string format = "table") {
    FitOptions options;
    options.partNumber = std::move(part);
    options.environment = std::move(env);
    options.plotPath = std::move(plot);
    options.format = std::move(format);
    return options;
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

    // calc's ResultRate and ResultScale (named Shape and Scale for field data where calc says so).
    std::pair<float, float> CalcShapeAndScale(const std::string& part, const std::string& env) {
        std::ofstream(scratch_ / "items.csv") << "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
                                              << '"' << part << "\"," << env << ",25,0,2\n";
        CalcOptions options{(scratch_ / "items.csv").string(), library_.string(), "", TAVRIN21_MODULE_PATH, "csv"};
        std::ostringstream out, err;
        EXPECT_EQ(RunCalc(options, out, err), kExitOk) << err.str();
        std::istringstream csv(out.str());
        CsvReader reader(csv);
        const auto header = reader.Next()->fields;
        const auto row = reader.Next()->fields;
        auto column = [&](const char* name, const char* other) {
            for (std::size_t i = 0; i < header.size(); ++i) {
                if (header[i] == name || header[i] == other) {
                    return std::stof(row.at(i));
                }
            }
            ADD_FAILURE() << "calc wrote no column " << name;
            return 0.0f;
        };
        return {column("Shape", "ResultRate"), column("Scale", "ResultScale")};
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
        EXPECT_EQ(report["medianRanks"].size(), row.failures);

        const double exactShape = report["exact"]["shape"];
        EXPECT_NEAR(exactShape, row.exactShape, 1e-9 * row.exactShape);
        EXPECT_NEAR(report["moduleVersusExact"]["shapePercent"].get<double>(),
                    (calcShape - exactShape) / exactShape * 100.0, 1e-9);
        EXPECT_GE(report["moduleVersusExact"]["negLogLikelihoodExcess"].get<double>(), 0.0);
        const auto bounds = report["exact"]["bounds95"]["shape"];
        EXPECT_LT(bounds[0].get<double>(), exactShape);
        EXPECT_GT(bounds[1].get<double>(), exactShape);
    }
}

TEST_F(HostFit, WritesTheTableAndThePlot) {
    const std::string plot = (scratch_ / "fan.svg").string();
    ASSERT_EQ(Fit(Options("FAN-0412", "gb", plot)), kExitOk) << err_.str();
    EXPECT_NE(out_.str().find("Weibull report for part FAN-0412, environment GB (1)"), std::string::npos);
    EXPECT_NE(out_.str().find("  shape                 1.40527153            1.387581144"), std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("Module against the exact fit: shape +1.27 %"), std::string::npos);
    std::ifstream file(plot);
    const std::string svg{std::istreambuf_iterator<char>(file), {}};
    std::size_t circles = 0;
    for (auto at = svg.find("class=\"failure\""); at != std::string::npos; at = svg.find("class=\"failure\"", at + 1)) {
        ++circles;
    }
    EXPECT_EQ(circles, 8u);
    EXPECT_NE(svg.find("class=\"module-fit\""), std::string::npos);
    EXPECT_NE(svg.find("class=\"exact-fit\""), std::string::npos);
}

TEST_F(HostFit, ExplainsWhyThereIsNoReport) {
    const struct {
        const char* name;
        FitOptions options;
        const char* error;
    } kRows[] = {
        {"NoFieldData", Options("NOPE", "GB"), "tavrin21-host: part NOPE has no field data in environment GB\n"},
        {"ModuleRefusesTheData", Options("PMP-77", "1"),
         "tavrin21-host: part PMP-77: Input failure statistics data are not valid for successful Weibull "
         "calculation\n"},
        {"UnknownEnvironment", Options("FAN-0412", "XX"),
         "tavrin21-host: environment \"XX\" is neither 1 to 27 nor a code such as GB or AIC\n"},
        {"PlotNotWritable", Options("FAN-0412", "GB", "/nonexistent/plot.svg"),
         "tavrin21-host: cannot write the plot /nonexistent/plot.svg\n"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Fit(row.options), kExitFatal);
        EXPECT_EQ(err_.str(), row.error);
    }
}

}  // namespace
}  // namespace tavrin21::host
