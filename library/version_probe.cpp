#include "library/version_probe.h"

#include "framework/recordset.h"

#include <exception>

namespace tavrin21 {

double ProbeVersion(const std::string& fileName, framework::Database& connection) {
    if (fileName != "fta.mdb") {
        return kFormatVersion;
    }
    framework::Recordset probe(&connection);
    try {
        probe.Open("select top 1 * from LinkedPhasesQq");
    } catch (const std::exception&) {
        return kFormatVersion;
    }
    return kFormatVersionLinkedPhases;
}

}  // namespace tavrin21
