#pragma once

// Databases for tests, made from SQL the way a user makes a library: the shipped schema files
// and a few statements of the test's own.

#include <filesystem>
#include <string>
#include <vector>

namespace framework {
class Database;
}

namespace tavrin21::test {

// The ODBC connect string of the SQLite file at `path`.
std::string SqliteConnectString(const std::filesystem::path& path);

// Runs each ';'-terminated statement of `script` (no ';' inside literals, "--" comments).
void RunSqlScript(framework::Database& database, const std::string& script);

// The text of a file under examples/.
std::string ExampleFile(const std::string& name);

// Makes the SQLite file `path` holding the shipped schema and then `statements`.
void MakeSqliteLibrary(const std::filesystem::path& path,
                       const std::vector<std::string>& statements);

}  // namespace tavrin21::test
