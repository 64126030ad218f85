#include "host/library_schema.h"

#include <sstream>

namespace tavrin21::host {

namespace {

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

std::vector<std::string> SplitSqlScript(const std::string& script) {
    std::vector<std::string> statements;
    std::istringstream lines(script);
    std::string line;
    std::string statement;
    while (std::getline(lines, line)) {
        if (const auto comment = line.find("--"); comment != std::string::npos) {
            line.erase(comment);
        }
        for (const char c : line) {
            if (c != ';') {
                statement += c;
                continue;
            }
            if (!IsBlank(statement)) {
                statements.push_back(statement);
            }
            statement.clear();
        }
        statement += '\n';
    }
    if (!IsBlank(statement)) {
        statements.push_back(statement);
    }
    return statements;
}

std::vector<std::string> LibrarySchemaStatements() {
    std::vector<std::string> statements = SplitSqlScript(kFailureRateTableSql);
    for (std::string& statement : SplitSqlScript(kFieldHistorySql)) {
        statements.push_back(std::move(statement));
    }
    return statements;
}

}  // namespace tavrin21::host
