#pragma once

// The one seam through which the framework calls ODBC. Each call here can be made to fail on
// its Nth use, so tests can reach the error paths of a real driver that never fails on its own.

#include "framework/platform/odbc_headers.h"

#include <string>
#include <vector>

#include "framework/db_exception.h"
#include "framework/platform/export.h"

namespace framework::odbc {

enum class Call {
    Connect,
    ExecDirect,
    Prepare,
    Execute,
    Fetch,
    GetData,
    AllocStatement,
    BindParameter,
    CloseCursor,
    SetAutocommit,
    EndTran,
};

// After `callsBefore` successful uses of `call`, the next use fails with SQL_ERROR and the
// diagnostic "HY000 injected fault"; then the call works again. A negative count disarms it.
FRAMEWORK_API void InjectFault(Call call, int callsBefore);
// Disarms every fault and sets every use count to zero.
FRAMEWORK_API void ClearFaults();
// How often `call` was used on this thread since the last ClearFaults, failed uses included.
FRAMEWORK_API long CallCount(Call call);

SQLRETURN DriverConnect(SQLHDBC connection, const std::string& connectString);
SQLRETURN AllocStatement(SQLHDBC connection, SQLHSTMT* statement);
SQLRETURN BindParameter(SQLHSTMT statement,
                        SQLUSMALLINT number,
                        SQLSMALLINT valueType,
                        SQLSMALLINT parameterType,
                        SQLULEN columnSize,
                        SQLPOINTER value,
                        SQLLEN valueBytes,
                        SQLLEN* indicator);
// SQLFreeStmt(SQL_CLOSE): ends the statement's result, keeps it prepared.
SQLRETURN CloseCursor(SQLHSTMT statement);
// SQL_ATTR_AUTOCOMMIT on or off; SQLEndTran with commit or rollback.
SQLRETURN SetAutocommit(SQLHDBC connection, bool on);
SQLRETURN EndTran(SQLHDBC connection, bool commit);
SQLRETURN ExecDirect(SQLHSTMT statement, const std::string& sql);
SQLRETURN Prepare(SQLHSTMT statement, const std::string& sql);
SQLRETURN Execute(SQLHSTMT statement);
SQLRETURN Fetch(SQLHSTMT statement);
SQLRETURN GetData(SQLHSTMT statement,
                  SQLUSMALLINT column,
                  SQLSMALLINT targetType,
                  SQLPOINTER target,
                  SQLLEN targetBytes,
                  SQLLEN* indicator);

inline bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// Every diagnostic record of `handle`, plus the injected one if the last failure was a fault.
std::vector<DiagnosticRecord> Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// Throws DbException (DbConnectionLost for a lost connection) with the diagnostics of `handle`.
[[noreturn]] void ThrowError(const std::string& what,
                             SQLSMALLINT handleType,
                             SQLHANDLE handle,
                             const std::string& statement);

}  // namespace framework::odbc
