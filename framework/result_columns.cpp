#include "framework/result_columns.h"

#include "framework/odbc_api.h"

namespace framework {

std::vector<std::string> ResultColumnNames(SQLHSTMT statement, const std::string& sql) {
    SQLSMALLINT count = 0;
    if (!odbc::Succeeded(SQLNumResultCols(statement, &count))) {
        odbc::ThrowError("cannot count the result columns", SQL_HANDLE_STMT, statement, sql);
    }
    std::vector<std::string> columns;
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!odbc::Succeeded(SQLDescribeCol(statement, column, name, sizeof name, &nameLength,
                                            &type, &size, &digits, &nullable))) {
            odbc::ThrowError("cannot describe result column " + std::to_string(column),
                             SQL_HANDLE_STMT, statement, sql);
        }
        columns.emplace_back(reinterpret_cast<const char*>(name));
    }
    return columns;
}

}  // namespace framework
