#include "calc/field_data_method.h"

#include "calc/calc_item.h"
#include "framework/recordset.h"
#include "library/failure_library.h"
#include "stats/num_vector.h"
#include "stats/weibull_estimator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavrin21 {

namespace {

constexpr std::uint8_t kProcessCode = 0;
constexpr std::size_t kMinimumTimes = 3;

// The recorded times of one part, split by whether the unit failed.
struct FieldTimes {
    std::vector<double> failures;
    std::vector<double> suspensions;

    std::size_t Total() const { return failures.size() + suspensions.size(); }
};

// Reads the query's rows from `source`, at most `capacity` of them: the rows were counted
// before, and rows added since then are left out. `record` receives each row in turn.
FieldTimes ReadFieldTimes(const FailureLibrary& library,
                          framework::Database* source,
                          const std::string& query,
                          PartFailureRecord& record,
                          std::size_t capacity) {
    FieldTimes times;
    times.failures.reserve(capacity);
    times.suspensions.reserve(capacity);
    framework::Recordset rows(source);
    // A set that could not be opened, or that was closed for having no row, is at its end.
    library.OpenRows(rows, query);
    while (!rows.IsEOF() && times.Total() < capacity) {
        library.ReadRow(record, rows);
        (record.IsCencored == 0 ? times.failures : times.suspensions).push_back(record.FRTime);
        rows.MoveNext();
    }
    return times;
}

// Hands the times to the estimator, which keeps copies of its own, and fits.
void Fit(WeibullEstimator& estimator, FieldTimes& times) {
    NumVector view;
    view.Refer(times.failures.data(), static_cast<std::int32_t>(times.failures.size()));
    estimator.failures.Assign(view);
    view.Refer(times.suspensions.data(), static_cast<std::int32_t>(times.suspensions.size()));
    estimator.suspensions.Assign(view);
    estimator.failureCount = static_cast<std::int32_t>(times.failures.size());
    estimator.suspensionCount = static_cast<std::int32_t>(times.suspensions.size());
    estimator.location = kFieldDataTimeOrigin;
    // A failed fit leaves shape and scale at 0.0, and they are written all the same.
    estimator.Estimate();
}

}  // namespace

Status FieldDataMethod(char* message,
                       ItemRecord& item,
                       framework::Database* primaryDb,
                       framework::Database* secondaryDb) {
    WeibullEstimator estimator;
    const auto library = std::make_unique<FailureLibrary>("", "");
    PartFailureRecord record;
    record.PartNumber = std::string(ItemPartNumber(item));
    record.EnvCode = item.EnvironmentCode;
    record.ProcCode = kProcessCode;
    const std::string query = library->BuildPartQuery(record);

    framework::Database* source = primaryDb;
    int rowCount = library->CountRows(primaryDb, query);
    if (rowCount == 0) {
        source = secondaryDb;
        rowCount = library->CountRows(secondaryDb, query);
    }
    if (rowCount <= 0) {
        return StatusCalculated;
    }

    FieldTimes times =
        ReadFieldTimes(*library, source, query, record, static_cast<std::size_t>(rowCount));
    if (times.failures.empty() || times.Total() < kMinimumTimes) {
        WriteMessage(message, kMessageInvalidFieldData);
        return StatusFailed;
    }
    Fit(estimator, times);
    item.ResultRate = static_cast<float>(estimator.shape);
    item.ResultScale = static_cast<float>(estimator.scale);
    return StatusCalculated;
}

}  // namespace tavrin21
