#pragma once

// The items of an ODBC connect string: "KEY=value" pairs ended by ';', where a value in braces
// may hold ';' of its own, and bare words such as the "ODBC" of "ODBC;".

#include "framework/platform/export.h"

#include <string>
#include <vector>

namespace framework {

struct ConnectItem {
    std::string text;   // as written, without the ';'
    std::string key;    // trimmed; empty for a bare word
    std::string value;  // as written, braces included
};

FRAMEWORK_API std::vector<ConnectItem> ConnectItems(const std::string& connectString);

// `connectString` with the value of every PWD/Password item replaced by "***".
FRAMEWORK_API std::string RedactPassword(const std::string& connectString);

}  // namespace framework
