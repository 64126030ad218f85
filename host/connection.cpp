#include "host/connection.h"

#include <filesystem>
#include <stdexcept>

namespace tavrin21::host {

std::string ConnectStringFor(const std::string& source) {
    if (source.find('=') != std::string::npos) {
        return source;
    }
    const std::filesystem::path path(source);
    if (!std::filesystem::is_regular_file(path)) {
        throw std::runtime_error("no library file " + source);
    }
    // NoCreat: a file that vanishes before the connection opens is an error, not a new database.
    // A path from the root is kept as given: on Windows absolute() would only add the current
    // drive, which the Linux driver behind Wine's ODBC32 cannot read.
    const std::filesystem::path file =
        path.has_root_directory() ? path : std::filesystem::absolute(path);
    return "DRIVER=SQLite3;Database=" + file.string() + ";NoCreat=1";
}

}  // namespace tavrin21::host
