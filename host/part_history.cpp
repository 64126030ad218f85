#include "host/part_history.h"

#include "framework/db_variant.h"
#include "framework/recordset.h"

namespace tavrin21::host {

WeibullSample ReadPartHistory(framework::Database& database,
                              const std::string& partNumber,
                              std::uint8_t environmentCode) {
    framework::Recordset rows(&database);
    rows.Open(
        "SELECT FRTime, IsCencored FROM PartFR WHERE PartNumber = ? AND EnvCode = ?"
        " AND ProcCode = 0 ORDER BY TimeNumber",
        {partNumber, long{environmentCode}});
    WeibullSample history;
    framework::DbVariant time, censored;
    while (!rows.IsEOF()) {
        rows.GetFieldValue("FRTime", time);
        rows.GetFieldValue("IsCencored", censored);
        // As the module reads them: a NULL time is 0, a NULL flag a failure, and only the flag's
        // low byte counts.
        const double recorded = time.isNull ? 0.0 : time.value;
        const auto flag = censored.isNull ? 0 : static_cast<long>(censored.value) & 0xff;
        (flag == 0 ? history.failures : history.suspensions).push_back(recorded);
        rows.MoveNext();
    }
    return history;
}

}  // namespace tavrin21::host
