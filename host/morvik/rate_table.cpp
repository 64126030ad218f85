#include "host/morvik/rate_table.h"

#include "framework/database.h"
#include "framework/recordset.h"
#include "framework/statement_cache.h"
#include "host/morvik/rate_rows.h"
#include "host/morvik/rates_query.h"
#include "host/morvik/table_checks.h"

#include <vector>

namespace morvik {

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
    CheckedTableBuilder table(ReadNumber(rows, "MinTemperature"),
                              ReadNumber(rows, "MaxTemperature"));
    if (ReadNumber(rows, "PointEnvCode")) {
        for (; !rows.IsEOF(); rows.MoveNext()) {
            AddPointRow(rows, table);
        }
    }
    return table.Finish();
}

}  // namespace morvik
