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
    return "DRIVER=SQLite3;Database=" + std::filesystem::absolute(path).string() + ";NoCreat=1";
}

}  // namespace tavrin21::host
