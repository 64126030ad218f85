#include "host/morvik/rate_table.h"

#include "framework/database.h"
#include "framework/recordset.h"
#include "framework/statement_cache.h"
#include "host/morvik/rates_query.h"
#include "host/morvik/table_checks.h"

#include <bitset>
#include <limits>
#include <vector>

namespace morvik {

namespace {

// Held as a string: it is the statement cache's key, looked up for every item.
const std::string kRatesQuery = kRatesQueryText;

std::optional<double> ReadNumber(framework::Recordset& rows, const char* column) {
    framework::DbVariant value;
    rows.GetFieldValue(column, value);
    return value.isNull ? std::nullopt : std::optional<double>(value.value);
}

// The points from the current row to the last.
void ReadPoints(framework::Recordset& rows, TabledRates& rates) {
    std::bitset<tavrin21::kTabledPointCount> filled;
    // The slot is read as text: a library built without the typed schema may hold anything
    // there, and a driver reading text as a number turns "abc" into 0 or NULL without a word.
    std::string slotText;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        rows.GetFieldValue("Slot", slotText);
        const std::size_t slot = SlotIndex(slotText);
        if (filled.test(slot)) {
            throw UnusableTable("slot " + std::to_string(slot) + " appears twice");
        }
        filled.set(slot);
        rates.points[slot] =
            CheckedPoint(slot, ReadNumber(rows, "Temperature"), ReadNumber(rows, "Rate"));
    }
}

}  // namespace

std::optional<TabledRates> LookUpTabledRates(framework::Database& database,
                                             const std::string& partNumber,
                                             std::uint8_t environmentCode) {
    const auto environment = static_cast<long>(environmentCode);
    const std::vector<framework::SqlParameter> key{partNumber, environment, partNumber,
                                                   environment};
    framework::Recordset rows(&database);
    rows.Open(database.Statements().Get(database, kRatesQuery), key);
    if (rows.IsEOF()) {
        return std::nullopt;
    }
    TabledRates rates;
    // A missing limit does not limit.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    rates.minTemperature = CheckedLimit("minimum", ReadNumber(rows, "MinTemperature"), -kInfinity);
    rates.maxTemperature = CheckedLimit("maximum", ReadNumber(rows, "MaxTemperature"), kInfinity);
    if (ReadNumber(rows, "PointEnvCode")) {
        ReadPoints(rows, rates);
    }
    CheckTable(rates);
    return rates;
}

}  // namespace morvik
