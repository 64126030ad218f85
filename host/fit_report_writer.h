#pragma once

// The Weibull report as a person reads it, and as JSON for programs.

#include "host/fit_report.h"

#include <iosfwd>

namespace tavrin21::host {

void WriteFitReportTable(std::ostream& out, const FitReport& report);

// One JSON object. The module's shape and scale are its singles widened to double, so they
// read back to the same singles; every other number is written to round-trip as a double.
void WriteFitReportJson(std::ostream& out, const FitReport& report);

}  // namespace tavrin21::host
