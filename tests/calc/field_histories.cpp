#include "tests/calc/field_histories.h"

#include "tests/support/vectors.h"

#include <bit>
#include <cstring>
#include <stdexcept>

namespace tavrin21::test {

const std::vector<WeibullDataSet>& WeibullDataSets() {
    static const std::vector<WeibullDataSet> sets = [] {
        std::vector<WeibullDataSet> loaded;
        const nlohmann::json vectors = LoadVectors("weibull.json");
        for (const auto& entry : vectors.at("data_sets")) {
            WeibullDataSet set;
            set.name = entry.at("name").get<std::string>();
            set.location = entry.at("location").get<double>();
            set.failures = entry.at("failures").get<std::vector<double>>();
            set.suspensions = entry.at("suspensions").get<std::vector<double>>();
            const auto& expected = entry.at("expected");
            set.shapeBits = BitsOf(SingleFromBits(expected.at("result_rate").at("bits")));
            set.scaleBits = BitsOf(SingleFromBits(expected.at("result_scale").at("bits")));
            loaded.push_back(std::move(set));
        }
        return loaded;
    }();
    return sets;
}

const WeibullDataSet& WeibullDataSetNamed(const std::string& name) {
    for (const WeibullDataSet& set : WeibullDataSets()) {
        if (set.name == name) {
            return set;
        }
    }
    throw std::out_of_range("no Weibull data set named " + name);
}

std::vector<PartFrRow> HistoryRows(const WeibullDataSet& set,
                                   const std::string& partNumber,
                                   int envCode) {
    std::vector<PartFrRow> rows;
    std::size_t f = 0, s = 0;
    while (f < set.failures.size() || s < set.suspensions.size()) {
        const bool takeFailure = s == set.suspensions.size() ||
                                 (f < set.failures.size() && set.failures[f] <= set.suspensions[s]);
        PartFrRow row;
        row.partNumber = partNumber;
        row.timeNumber = static_cast<int>(rows.size()) + 1;
        row.envCode = envCode;
        row.frTime = takeFailure ? set.failures[f++] : set.suspensions[s++];
        row.isCencored = takeFailure ? 0 : 1;
        rows.push_back(row);
    }
    return rows;
}

ItemRecord FieldDataItem(const std::string& partNumber, std::uint8_t envCode) {
    ItemRecord item{};
    std::strncpy(item.PartNumber, partNumber.c_str(), kPartNumberMaxLength);
    item.EnvironmentCode = envCode;
    item.ResultRate = kUntouchedResult;
    item.ResultScale = kUntouchedResult;
    item.ResultAux1 = 5.0f;
    item.ResultAux2 = 0xFFFFFFFFu;
    return item;
}

::testing::AssertionResult WithinOneUlp(float actual, std::uint32_t expectedBits) {
    const std::uint32_t bits = BitsOf(actual);
    const std::uint32_t distance = bits > expectedBits ? bits - expectedBits : expectedBits - bits;
    if (distance <= 1) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual << " (bits " << std::hex << bits << ") is not within one ulp of "
           << std::bit_cast<float>(expectedBits) << " (bits " << expectedBits << ")";
}

}  // namespace tavrin21::test
