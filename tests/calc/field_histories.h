#pragma once

// Field histories for the field-data suites: the Weibull vectors' data sets as PartFR rows, and
// items that ask for the field-data method.

#include "tavrin21/item_record.h"
#include "tests/library/backend_fixture.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21::test {

struct WeibullDataSet {
    std::string name;
    double location = 0.0;
    std::vector<double> failures;
    std::vector<double> suspensions;
    std::uint32_t shapeBits = 0;  // the fitted shape and scale as the singles written to the item
    std::uint32_t scaleBits = 0;
};

const std::vector<WeibullDataSet>& WeibullDataSets();
const WeibullDataSet& WeibullDataSetNamed(const std::string& name);

// PartFR rows holding the set's times for `partNumber` in environment `envCode`, TimeNumber
// from 1: failures and suspensions merged by time, each kind kept in the set's own order, which
// is the order the fit takes them in.
std::vector<PartFrRow> HistoryRows(const WeibullDataSet& set,
                                   const std::string& partNumber,
                                   int envCode);

// Results set before a calculation, to tell whether it wrote them.
inline constexpr float kUntouchedResult = -7.0f;

// An item for the field-data method, with kUntouchedResult in ResultRate and ResultScale and
// other values in ResultAux1 and ResultAux2.
ItemRecord FieldDataItem(const std::string& partNumber, std::uint8_t envCode);

// `actual` is the single with bits `expectedBits` or its neighbour.
::testing::AssertionResult WithinOneUlp(float actual, std::uint32_t expectedBits);

}  // namespace tavrin21::test
