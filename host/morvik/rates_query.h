#pragma once

#include <string>

namespace morvik {

// The limits and the points of one part and environment, after "SELECT ": every row holds the
// limits, beside one point of the part, or beside NULLs when the part has no points
// (PointEnvCode, never NULL in a point's row, tells the two apart). The limits come from one
// FRTable row even where a library without a key holds several, so the points are never
// repeated. Four parameters: part, environment, part, environment.
inline const std::string kRatesColumnsAndSource =
    "t.MinTemperature, t.MaxTemperature, p.EnvCode AS PointEnvCode, p.Slot, "
    "p.Temperature, p.Rate "
    "FROM (SELECT MinTemperature, MaxTemperature FROM FRTable "
    "WHERE PartNumber = ? AND EnvCode = ? LIMIT 1) t "
    "LEFT JOIN FRTablePoint p ON p.PartNumber = ? AND p.EnvCode = ?";

// One item's query, so that an item costs one round trip to a server, points in slot order.
// Prepared once per connection (the database's statement cache) and run again for every item.
inline const std::string kRatesQuery = "SELECT " + kRatesColumnsAndSource + " ORDER BY p.Slot";

}  // namespace morvik
