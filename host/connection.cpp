#include "host/connection.h"

#include "framework/connect_items.h"
#include "framework/db_exception.h"
#include "host/calc_command.h"
#include "host/terminal_text.h"

#include <cctype>
#include <filesystem>
#include <stdexcept>

namespace tavrin21::host {

namespace {

// The SQLite driver reads "Database=" up to the next ';' and knows no braces, so a path is
// handed over as a URI file name with every special character percent-encoded: ';', '{', '}',
// '=', '?' and '#' in a file name are then just characters.
std::string FileUri(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : path.string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xf];
        }
    }
    return uri;
}

// Driver messages may span lines ("...refused\n\tIs the server running..."); a fatal error is
// one line.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n' || c == '\t' || c == '\r') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

std::unique_ptr<framework::Database> OpenConnection(const std::string& role,
                                                    const std::string& source) {
    auto database = std::make_unique<framework::Database>();
    try {
        database->Open(ConnectStringFor(source));
    } catch (const framework::DbException& error) {
        throw std::runtime_error("cannot open the " + role + " connection " +
                                 Printable(framework::RedactPassword(source)) + ": " +
                                 Printable(OneLine(framework::RedactPassword(error.ErrorText()))));
    }
    return database;
}

}  // namespace

std::string ConnectStringFor(const std::string& source) {
    const std::filesystem::path path(source);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        // NoCreat: a file that vanishes before the connection opens is an error, not a new
        // database. A path from the root is kept as given: on Windows absolute() would only add the
        // current drive, which the Linux driver behind Wine's ODBC32 cannot read.
        const std::filesystem::path file =
            path.has_root_directory() ? path : std::filesystem::absolute(path);
        return "DRIVER=SQLite3;Database=" + FileUri(file) + ";NoCreat=1";
    }
    if (source.find('=') != std::string::npos) {
        return source;
    }
    if (std::filesystem::is_directory(path, error)) {
        throw std::runtime_error(Printable(source) + " is a folder, not a library file");
    }
    throw std::runtime_error("no library file " + Printable(source));
}

std::string Connections::ReopenLost() {
    framework::Database* databases[] = {primary.get(), secondary.get()};
    const char* roles[] = {"primary", "secondary"};
    const bool anyDead =
        (primary && primary->IsConnectionDead()) || (secondary && secondary->IsConnectionDead());
    for (int i = 0; i < 2; ++i) {
        if (databases[i] == nullptr || (anyDead && !databases[i]->IsConnectionDead())) {
            continue;
        }
        try {
            databases[i]->Reopen();
        } catch (const framework::DbException&) {
            return roles[i];
        }
    }
    return {};
}

Connections OpenConnections(const std::string& primarySource, const std::string& secondary) {
    Connections connections;
    const std::string primary = primarySource.empty() ? DefaultLibraryPath() : primarySource;
    connections.primary = OpenConnection("primary", primary);
    if (!secondary.empty() && secondary != primary) {
        connections.secondary = OpenConnection("secondary", secondary);
    }
    return connections;
}

}  // namespace tavrin21::host
