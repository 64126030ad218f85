#pragma once

// Connecting a library object to its database file through the Access driver, and telling the
// user when that fails.

#include "framework/database.h"

#include <functional>
#include <optional>
#include <string>

namespace tavrin21 {

// First line of every message box shown when a library file cannot be opened.
inline constexpr const char* kMessageOpenError = "Error opening database!\n";

// The connect string for the file at `path` (a Windows path) through the driver described
// as `driver`; an empty user and password.
std::string AccessConnectString(const std::string& driver, const std::string& path);

// What every library object's Open does once it knows how to find its file: finds the Access
// driver, asks `locate` for the file's path (nothing: there is no file to connect to, so
// kOpenNotConnected without a message), and connects `connection` to it. A driver that leaves
// the connection closed shows kMessageOpenError, closes it and gives kOpenNotConnected. An
// error on the way gives kOpenFailed and one message box: kMessageOpenError, the error's text
// (at most 254 characters), a line feed and the connect string (empty when the error came
// before it was composed).
int ConnectLibraryFile(framework::Database& connection,
                       const std::function<std::optional<std::string>()>& locate);

}  // namespace tavrin21
