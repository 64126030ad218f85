#include "tests/support/sql_script.h"

#include "framework/database.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tavrin21::test {

std::string SqliteConnectString(const std::filesystem::path& path) {
    // Forward slashes: under Wine the driver behind Windows' driver manager is a Linux one.
    return "DRIVER=SQLite3;Database=" + path.generic_string();
}

void RunSqlScript(framework::Database& database, const std::string& script) {
    std::istringstream lines(script);
    std::string line;
    std::string statement;
    const auto runStatement = [&] {
        if (statement.find_first_not_of(" \t\n;") != std::string::npos) {
            database.ExecuteSQL(statement);
        }
        statement.clear();
    };
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find("--"));
        statement += line + "\n";
        if (line.find(';') != std::string::npos) {
            runStatement();
        }
    }
    runStatement();
}

std::string ExampleFile(const std::string& name) {
    const std::string path = std::string(TAVRIN21_EXAMPLES_DIR) + "/" + name;
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void MakeSqliteLibrary(const std::filesystem::path& path,
                       const std::vector<std::string>& statements) {
    framework::Database database;
    database.Open(SqliteConnectString(path));
    RunSqlScript(database, ExampleFile("schema.sql"));
    for (const std::string& statement : statements) {
        database.ExecuteSQL(statement);
    }
}

}  // namespace tavrin21::test
