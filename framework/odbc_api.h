#pragma once

// The one seam through which the framework calls the ODBC driver manager: no other file calls a
// driver-manager function (the installer's driver list is read elsewhere). Each call here can be
// made to fail, so tests can reach the error paths of a real driver that never fails on its own:
// either the Nth use of one kind of call, or the Nth call of any kind, counted over every call
// that can fail.
//
// An injected fault returns SQL_ERROR without calling the driver manager, and the next
// Diagnostics() gives the one record "HY000 injected fault", as a driver's own error would read;
// never a lost connection. Fault plans and counts are per thread.

#include "framework/db_exception.h"
#include "framework/platform/export.h"
#include "framework/platform/odbc_headers.h"

#include <string>
#include <vector>

namespace framework::odbc {

// One entry per wrapper below. Adding a call: an entry here (before FreeHandle, which never
// fails on purpose), a wrapper declared below and defined in odbc_api.cpp through Guarded().
enum class Call {
    AllocEnvironment,
    SetEnvAttr,
    AllocConnection,
    SetAutocommit,
    GetConnectAttr,
    Connect,
    GetInfo,
    EndTran,
    Disconnect,
    AllocStatement,
    SetStmtAttr,
    Prepare,
    BindParameter,
    ExecDirect,
    Execute,
    NumResultCols,
    DescribeCol,
    Fetch,
    GetData,
    CloseCursor,
    // Releases a handle. Never failed on purpose: a failed release leaves nothing to recover, so
    // a fault there would only be a leak of the test's own making.
    FreeHandle,
};

// After `callsBefore` successful uses of `call`, the next use fails; then the call works again.
// A negative count disarms it.
FRAMEWORK_API void InjectFault(Call call, int callsBefore);
// The `n`th call from now (1 for the next), of any kind that can fail, fails; then calls work
// again. Zero or less disarms it.
FRAMEWORK_API void FailNthCall(long n);
// Disarms every fault and sets every count to zero.
FRAMEWORK_API void ClearFaults();
// How often `call` was used on this thread since the last ClearFaults, failed uses included.
FRAMEWORK_API long CallCount(Call call);
// How many injected faults fired on this thread since the last ClearFaults, and the kind of call
// the last one failed (meaningless while none has).
FRAMEWORK_API long FaultsFired();
FRAMEWORK_API Call LastFaultedCall();

SQLRETURN AllocEnvironment(SQLHENV* environment);
SQLRETURN SetEnvAttr(SQLHENV environment, SQLINTEGER attribute, SQLPOINTER value);
SQLRETURN AllocConnection(SQLHENV environment, SQLHDBC* connection);
// SQL_ATTR_AUTOCOMMIT on or off.
SQLRETURN SetAutocommit(SQLHDBC connection, bool on);
SQLRETURN GetConnectAttr(SQLHDBC connection, SQLINTEGER attribute, SQLUINTEGER* value);
SQLRETURN DriverConnect(SQLHDBC connection, const std::string& connectString);
// A text SQLGetInfo item, such as SQL_DBMS_NAME.
SQLRETURN GetInfoText(SQLHDBC connection, SQLUSMALLINT item, std::string& text);
// Commits or rolls back the connection's transaction.
SQLRETURN EndTran(SQLHDBC connection, bool commit);
SQLRETURN Disconnect(SQLHDBC connection);
SQLRETURN AllocStatement(SQLHDBC connection, SQLHSTMT* statement);
SQLRETURN SetStmtAttr(SQLHSTMT statement, SQLINTEGER attribute, SQLPOINTER value);
SQLRETURN Prepare(SQLHSTMT statement, const std::string& sql);
// Binds an input parameter.
SQLRETURN BindParameter(SQLHSTMT statement,
                        SQLUSMALLINT number,
                        SQLSMALLINT valueType,
                        SQLSMALLINT parameterType,
                        SQLULEN columnSize,
                        SQLPOINTER value,
                        SQLLEN valueBytes,
                        SQLLEN* indicator);
SQLRETURN ExecDirect(SQLHSTMT statement, const std::string& sql);
SQLRETURN Execute(SQLHSTMT statement);
SQLRETURN NumResultCols(SQLHSTMT statement, SQLSMALLINT* count);
// The name of result column `column`.
SQLRETURN DescribeColName(SQLHSTMT statement, SQLUSMALLINT column, std::string& name);
SQLRETURN Fetch(SQLHSTMT statement);
SQLRETURN GetData(SQLHSTMT statement,
                  SQLUSMALLINT column,
                  SQLSMALLINT targetType,
                  SQLPOINTER target,
                  SQLLEN targetBytes,
                  SQLLEN* indicator);
// SQLFreeStmt(SQL_CLOSE): ends the statement's result, keeps it prepared.
SQLRETURN CloseCursor(SQLHSTMT statement);
// Frees `handle`; a null handle is left alone.
SQLRETURN FreeHandle(SQLSMALLINT handleType, SQLHANDLE handle) noexcept;

inline bool Succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// Every diagnostic record of `handle`, or the injected one if the last failure was a fault.
std::vector<DiagnosticRecord> Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// Throws DbException (DbConnectionLost for a lost connection) with the diagnostics of `handle`.
[[noreturn]] void ThrowError(const std::string& what,
                             SQLSMALLINT handleType,
                             SQLHANDLE handle,
                             const std::string& statement);

}  // namespace framework::odbc
