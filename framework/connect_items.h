#pragma once

// The items of an ODBC connect string: "KEY=value" pairs ended by ';', where a value in braces
// may hold ';' of its own ("}}" stands for one '}'), and bare words such as the "ODBC" of "ODBC;".

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

// `text` (a connect string or any message that may quote one) with every password replaced by
// "***": the value of PWD, Password and similar keys, a "password=" inside an option list such as
// pqopt={password=... sslmode=...}, and the password of a URL's user info (scheme://user:pw@host).
FRAMEWORK_API std::string RedactPassword(const std::string& text);

}  // namespace framework
