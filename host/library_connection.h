#pragma once

// Opening the library that init-db, import and export work on.

#include "framework/database.h"

#include <memory>
#include <string>

namespace tavrin21::host {

// The library `source` (a connect string or the path of an SQLite file) opened. Throws
// std::runtime_error naming it, password removed, with the driver's reason.
std::unique_ptr<framework::Database> OpenLibrary(const std::string& source);

}  // namespace tavrin21::host
