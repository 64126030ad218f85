#pragma once

// Telling the format version of an open library database.

#include "framework/database.h"

#include <string>

namespace tavrin21 {

inline constexpr double kFormatVersion = 8.1;
// The fault-tree file "fta.mdb" of the later format holds the query LinkedPhasesQq.
inline constexpr double kFormatVersionLinkedPhases = 8.15;

// kFormatVersionLinkedPhases when `fileName` is exactly "fta.mdb" (case-sensitive) and a
// read-only, forward-only record set opens on LinkedPhasesQq through `connection`; otherwise
// kFormatVersion. An error in opening it is the answer, not a fault: nothing is shown.
double ProbeVersion(const std::string& fileName, framework::Database& connection);

}  // namespace tavrin21
