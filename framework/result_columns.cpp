#include "framework/result_columns.h"

#include "framework/odbc_api.h"

namespace framework {

std::vector<std::string> ResultColumnNames(SQLHSTMT statement, const std::string& sql) {
    SQLSMALLINT count = 0;
    if (!odbc::Succeeded(odbc::NumResultCols(statement, &count))) {
        odbc::ThrowError("cannot count the result columns", SQL_HANDLE_STMT, statement, sql);
    }
    std::vector<std::string> columns;
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        std::string name;
        if (!odbc::Succeeded(odbc::DescribeColName(statement, column, name))) {
            odbc::ThrowError("cannot describe result column " + std::to_string(column),
                             SQL_HANDLE_STMT, statement, sql);
        }
        columns.push_back(std::move(name));
    }
    return columns;
}

}  // namespace framework
