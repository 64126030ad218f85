#pragma once

// A part's recorded field history: the rows of PartFR the field-data method fits.

#include "host/weibull_model.h"

#include <cstdint>
#include <string>

namespace framework {
class Database;
}

namespace tavrin21::host {

// The FRTime of every row of the part in the environment (process code 0), in TimeNumber
// order: failures where IsCencored is 0, suspensions otherwise. Times as recorded, before the
// time origin is taken off. Throws framework::DbException when the query fails.
WeibullSample ReadPartHistory(framework::Database& database,
                              const std::string& partNumber,
                              std::uint8_t environmentCode);

}  // namespace tavrin21::host
