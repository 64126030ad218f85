#include "library/access_driver.h"

#include "framework/platform/odbc_headers.h"

#include <cstring>
#include <string_view>

namespace tavrin21 {

namespace {

constexpr std::size_t kDriverListBytes = 2000;

}  // namespace

std::string AccessDriverName() {
    char drivers[kDriverListBytes] = {};
    WORD written = 0;
    if (!SQLGetInstalledDrivers(drivers, static_cast<WORD>(sizeof drivers), &written)) {
        return {};
    }
    return FindAccessDriver(drivers, sizeof drivers);
}

std::string FindAccessDriver(const char* drivers, std::size_t bytes) {
    std::size_t at = 0;
    while (at < bytes && drivers[at] != '\0') {
        const std::size_t length = strnlen(drivers + at, bytes - at);
        const std::string_view entry(drivers + at, length);
        if (entry.find("Access") != std::string_view::npos) {
            return std::string(entry);
        }
        at += length + 1;
    }
    return {};
}

}  // namespace tavrin21
