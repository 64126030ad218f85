#pragma once

namespace morvik {

// The limits and the points in one query, so that an item costs one round trip to a server:
// every row holds the limits, beside one point of the part in slot order, or beside NULLs when
// the part has no points (PointEnvCode, never NULL in a point's row, tells the two apart). The
// limits come from one FRTable row even where a library without a key holds several, so the
// points are never repeated. Prepared once per connection (the database's statement cache) and
// run again for every item.
inline constexpr const char* kRatesQueryText =
    "SELECT t.MinTemperature, t.MaxTemperature, p.EnvCode AS PointEnvCode, p.Slot, "
    "p.Temperature, p.Rate "
    "FROM (SELECT MinTemperature, MaxTemperature FROM FRTable "
    "WHERE PartNumber = ? AND EnvCode = ? LIMIT 1) t "
    "LEFT JOIN FRTablePoint p ON p.PartNumber = ? AND p.EnvCode = ? "
    "ORDER BY p.Slot";

}  // namespace morvik
