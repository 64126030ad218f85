#include "host/library_connection.h"

#include "framework/connect_items.h"
#include "framework/db_exception.h"
#include "host/connection.h"

#include <stdexcept>

namespace tavrin21::host {

std::unique_ptr<framework::Database> OpenLibrary(const std::string& source) {
    auto database = std::make_unique<framework::Database>();
    try {
        database->Open(ConnectStringFor(source));
    } catch (const framework::DbException& error) {
        throw std::runtime_error("cannot open the library " + framework::RedactPassword(source) +
                                 ": " + error.ErrorText());
    }
    return database;
}

}  // namespace tavrin21::host
