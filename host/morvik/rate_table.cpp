#include "host/morvik/rate_table.h"

#include "framework/database.h"
#include "framework/recordset.h"
#include "framework/statement_cache.h"
#include "host/morvik/table_checks.h"

#include <bitset>
#include <limits>
#include <vector>

namespace morvik {

namespace {

// Prepared once per connection (the database's statement cache) and run again for every item.
const std::string kLimitsQuery =
    "SELECT MinTemperature, MaxTemperature FROM FRTable WHERE PartNumber = ? AND EnvCode = ?";
const std::string kPointsQuery =
    "SELECT Slot, Temperature, Rate FROM FRTablePoint WHERE PartNumber = ? AND EnvCode = ? "
    "ORDER BY Slot";

std::optional<double> ReadNumber(framework::Recordset& rows, const char* column) {
    framework::DbVariant value;
    rows.GetFieldValue(column, value);
    return value.isNull ? std::nullopt : std::optional<double>(value.value);
}

}  // namespace

std::optional<TabledRates> LookUpTabledRates(framework::Database& database,
                                             const std::string& partNumber,
                                             std::uint8_t environmentCode) {
    const std::vector<framework::SqlParameter> key{partNumber, static_cast<long>(environmentCode)};
    framework::StatementCache& statements = database.Statements();
    TabledRates rates;

    framework::Recordset limits(&database);
    limits.Open(statements.Get(database, kLimitsQuery), key);
    if (limits.IsEOF()) {
        return std::nullopt;
    }
    // A missing limit does not limit.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    rates.minTemperature =
        CheckedLimit("minimum", ReadNumber(limits, "MinTemperature"), -kInfinity);
    rates.maxTemperature = CheckedLimit("maximum", ReadNumber(limits, "MaxTemperature"), kInfinity);
    limits.Close();

    framework::Recordset points(&database);
    std::bitset<tavrin21::kTabledPointCount> filled;
    // The slot is read as text: a library built without the typed schema may hold anything
    // there, and a driver reading text as a number turns "abc" into 0 or NULL without a word.
    std::string slotText;
    for (points.Open(statements.Get(database, kPointsQuery), key); !points.IsEOF();
         points.MoveNext()) {
        points.GetFieldValue("Slot", slotText);
        const std::size_t slot = SlotIndex(slotText);
        if (filled.test(slot)) {
            throw UnusableTable("slot " + std::to_string(slot) + " appears twice");
        }
        filled.set(slot);
        rates.points[slot] =
            CheckedPoint(slot, ReadNumber(points, "Temperature"), ReadNumber(points, "Rate"));
    }
    CheckTable(rates);
    return rates;
}

}  // namespace morvik
