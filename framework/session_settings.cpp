#include "framework/session_settings.h"

#include "framework/database.h"
#include "framework/text_compare.h"

namespace framework {

namespace {

bool NameStartsWith(const std::string& name, std::string_view prefix) {
    return name.size() >= prefix.size() &&
           EqualsIgnoringCase(std::string_view(name).substr(0, prefix.size()), prefix);
}

}  // namespace

void ApplySessionSettings(Database& database) {
    const std::string& dbms = database.DbmsName();
    if (NameStartsWith(dbms, "PostgreSQL")) {
        database.ExecuteSQL("SET standard_conforming_strings = on");
    } else if (NameStartsWith(dbms, "MySQL") || NameStartsWith(dbms, "MariaDB")) {
        database.ExecuteSQL(
            "SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')");
    }
}

}  // namespace framework
