#pragma once

// One row of the failure-data library's table PartFR. The same record is first the key of the
// part query (PartNumber, EnvCode, ProcCode) and then the target of every row read.

#include <cstdint>
#include <string>

namespace tavrin21 {

struct PartFailureRecord {
    std::string PartNumber;
    std::int32_t TimeNumber = 0;  // sort key of a part's rows
    std::uint8_t EnvCode = 0;     // environment, 1-based
    std::uint8_t ProcCode = 0;
    double FRTime = 0.0;  // time of the observation
    std::string FRDate;
    std::uint8_t IsCencored = 0;  // 0: a failure at FRTime; otherwise a suspension
    std::string Remark;
    std::int32_t ItemNumber = 0;
    double Tc = 0.0;
    double TimeBtw = 0.0;
    double Mtbfc = 0.0;
    double Mtbfi = 0.0;
    double GrowthRate = 0.0;
};

}  // namespace tavrin21
