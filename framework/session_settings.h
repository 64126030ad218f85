#pragma once

// Settings every session gets as it connects, whatever the server's defaults.

namespace framework {

class Database;

// Makes string literals standard on servers that may be set otherwise: a backslash in a quoted
// literal is then an ordinary character, so text quoted by doubling its quotes stays one literal.
// PostgreSQL: standard_conforming_strings on; MySQL and MariaDB: the NO_BACKSLASH_ESCAPES mode.
// Other systems have no such setting. Throws DbException when the server refuses.
void ApplySessionSettings(Database& database);

}  // namespace framework
