#pragma once

// Connecting a library object to its database file through the Access driver, and telling the
// user when that fails.

#include "framework/database.h"

#include <exception>
#include <string>

namespace tavrin21 {

// First line of every message box shown when a library file cannot be opened.
inline constexpr const char* kMessageOpenError = "Error opening database!\n";

// The connect string for the file at `path` (a Windows path) through the driver described
// as `driver`; an empty user and password.
std::string AccessConnectString(const std::string& driver, const std::string& path);

// Opens `connection` with `connectString`: 0 when it is open. When the driver leaves it closed
// without an error, shows kMessageOpenError, closes the connection and returns 1. Errors
// propagate.
int ConnectFile(framework::Database& connection, const std::string& connectString);

// Shows the message box for `error`, caught while opening a library file: kMessageOpenError,
// the error's text (at most 254 characters), a line feed and `connectString` (empty when the
// error came before it was composed).
void ShowOpenError(const std::exception& error, const std::string& connectString);

}  // namespace tavrin21
