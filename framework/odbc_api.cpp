#include "framework/odbc_api.h"

#include <algorithm>
#include <array>

namespace framework::odbc {

namespace {

constexpr std::size_t kCallKinds = static_cast<std::size_t>(Call::FreeHandle) + 1;

struct FaultPlan {
    FaultPlan() { countdown.fill(-1); }
    std::array<int, kCallKinds> countdown;
    std::array<long, kCallKinds> uses{};
    long nthCallCountdown = 0;  // calls left until the one to fail; 0: none armed
    long fired = 0;
    Call lastFaulted = Call::FreeHandle;
    bool lastCallFaulted = false;
};

FaultPlan& Faults() {
    static thread_local FaultPlan plan;
    return plan;
}

// Counts this use of `call` and tells whether it is the one to fail.
bool FaultDue(Call call) {
    FaultPlan& plan = Faults();
    const auto kind = static_cast<std::size_t>(call);
    ++plan.uses[kind];
    plan.lastCallFaulted = false;
    bool due = false;
    if (plan.countdown[kind] >= 0 && plan.countdown[kind]-- == 0) {
        due = true;
    }
    if (plan.nthCallCountdown > 0 && --plan.nthCallCountdown == 0) {
        due = true;
    }
    if (due) {
        plan.lastCallFaulted = true;
        plan.lastFaulted = call;
        ++plan.fired;
    }
    return due;
}

// Runs `real` unless this use of `call` is to fail.
template <typename RealCall>
SQLRETURN Guarded(Call call, RealCall real) {
    if (FaultDue(call)) {
        return SQL_ERROR;
    }
    return real();
}

std::string Narrow(const SQLCHAR* text) {
    return reinterpret_cast<const char*>(text);
}

SQLCHAR* Text(const std::string& text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

}  // namespace

void InjectFault(Call call, int callsBefore) {
    Faults().countdown[static_cast<std::size_t>(call)] = callsBefore;
}

void FailNthCall(long n) {
    Faults().nthCallCountdown = std::max(n, 0L);
}

void ClearFaults() {
    Faults() = FaultPlan{};
}

long CallCount(Call call) {
    return Faults().uses[static_cast<std::size_t>(call)];
}

long FaultsFired() {
    return Faults().fired;
}

Call LastFaultedCall() {
    return Faults().lastFaulted;
}

SQLRETURN AllocEnvironment(SQLHENV* environment) {
    return Guarded(Call::AllocEnvironment,
                   [&] { return SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, environment); });
}

SQLRETURN SetEnvAttr(SQLHENV environment, SQLINTEGER attribute, SQLPOINTER value) {
    return Guarded(Call::SetEnvAttr,
                   [&] { return SQLSetEnvAttr(environment, attribute, value, 0); });
}

SQLRETURN AllocConnection(SQLHENV environment, SQLHDBC* connection) {
    return Guarded(Call::AllocConnection,
                   [&] { return SQLAllocHandle(SQL_HANDLE_DBC, environment, connection); });
}

SQLRETURN SetAutocommit(SQLHDBC connection, bool on) {
    return Guarded(Call::SetAutocommit, [&] {
        const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
        return SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                                 reinterpret_cast<SQLPOINTER>(value), 0);
    });
}

SQLRETURN GetConnectAttr(SQLHDBC connection, SQLINTEGER attribute, SQLUINTEGER* value) {
    return Guarded(Call::GetConnectAttr,
                   [&] { return SQLGetConnectAttr(connection, attribute, value, 0, nullptr); });
}

SQLRETURN DriverConnect(SQLHDBC connection, const std::string& connectString) {
    return Guarded(Call::Connect, [&] {
        SQLCHAR completed[1024];
        SQLSMALLINT completedLength = 0;
        return SQLDriverConnect(connection, nullptr, Text(connectString), SQL_NTS, completed,
                                sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    });
}

SQLRETURN GetInfoText(SQLHDBC connection, SQLUSMALLINT item, std::string& text) {
    return Guarded(Call::GetInfo, [&] {
        SQLCHAR buffer[256] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetInfo(connection, item, buffer, sizeof buffer, &length);
        if (Succeeded(rc)) {
            text = Narrow(buffer);
        }
        return rc;
    });
}

SQLRETURN EndTran(SQLHDBC connection, bool commit) {
    return Guarded(Call::EndTran, [&] {
        return SQLEndTran(SQL_HANDLE_DBC, connection, commit ? SQL_COMMIT : SQL_ROLLBACK);
    });
}

SQLRETURN Disconnect(SQLHDBC connection) {
    return Guarded(Call::Disconnect, [&] { return SQLDisconnect(connection); });
}

SQLRETURN AllocStatement(SQLHDBC connection, SQLHSTMT* statement) {
    return Guarded(Call::AllocStatement,
                   [&] { return SQLAllocHandle(SQL_HANDLE_STMT, connection, statement); });
}

SQLRETURN SetStmtAttr(SQLHSTMT statement, SQLINTEGER attribute, SQLPOINTER value) {
    return Guarded(Call::SetStmtAttr,
                   [&] { return SQLSetStmtAttr(statement, attribute, value, 0); });
}

SQLRETURN Prepare(SQLHSTMT statement, const std::string& sql) {
    return Guarded(Call::Prepare, [&] { return SQLPrepare(statement, Text(sql), SQL_NTS); });
}

SQLRETURN BindParameter(SQLHSTMT statement,
                        SQLUSMALLINT number,
                        SQLSMALLINT valueType,
                        SQLSMALLINT parameterType,
                        SQLULEN columnSize,
                        SQLPOINTER value,
                        SQLLEN valueBytes,
                        SQLLEN* indicator) {
    return Guarded(Call::BindParameter, [&] {
        return SQLBindParameter(statement, number, SQL_PARAM_INPUT, valueType, parameterType,
                                columnSize, 0, value, valueBytes, indicator);
    });
}

SQLRETURN ExecDirect(SQLHSTMT statement, const std::string& sql) {
    return Guarded(Call::ExecDirect, [&] { return SQLExecDirect(statement, Text(sql), SQL_NTS); });
}

SQLRETURN Execute(SQLHSTMT statement) {
    return Guarded(Call::Execute, [&] { return SQLExecute(statement); });
}

SQLRETURN NumResultCols(SQLHSTMT statement, SQLSMALLINT* count) {
    return Guarded(Call::NumResultCols, [&] { return SQLNumResultCols(statement, count); });
}

SQLRETURN DescribeColName(SQLHSTMT statement, SQLUSMALLINT column, std::string& name) {
    return Guarded(Call::DescribeCol, [&] {
        SQLCHAR buffer[256] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        const SQLRETURN rc = SQLDescribeCol(statement, column, buffer, sizeof buffer, &nameLength,
                                            &type, &size, &digits, &nullable);
        if (Succeeded(rc)) {
            name = Narrow(buffer);
        }
        return rc;
    });
}

SQLRETURN Fetch(SQLHSTMT statement) {
    return Guarded(Call::Fetch, [&] { return SQLFetch(statement); });
}

SQLRETURN GetData(SQLHSTMT statement,
                  SQLUSMALLINT column,
                  SQLSMALLINT targetType,
                  SQLPOINTER target,
                  SQLLEN targetBytes,
                  SQLLEN* indicator) {
    return Guarded(Call::GetData, [&] {
        return SQLGetData(statement, column, targetType, target, targetBytes, indicator);
    });
}

SQLRETURN CloseCursor(SQLHSTMT statement) {
    return Guarded(Call::CloseCursor, [&] { return SQLFreeStmt(statement, SQL_CLOSE); });
}

SQLRETURN FreeHandle(SQLSMALLINT handleType, SQLHANDLE handle) noexcept {
    if (handle == nullptr) {
        return SQL_INVALID_HANDLE;
    }
    // Counted, never failed (see Call::FreeHandle); the last fault's diagnostic stays readable.
    ++Faults().uses[static_cast<std::size_t>(Call::FreeHandle)];
    return SQLFreeHandle(handleType, handle);
}

std::vector<DiagnosticRecord> Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<DiagnosticRecord> records;
    if (Faults().lastCallFaulted) {
        Faults().lastCallFaulted = false;
        records.push_back({"HY000", 0, "injected fault"});
        return records;
    }
    if (handle == nullptr) {
        return records;
    }
    for (SQLSMALLINT index = 1;; ++index) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH * 4] = {};
        SQLSMALLINT messageLength = 0;
        const SQLRETURN rc = SQLGetDiagRec(handleType, handle, index, state, &native, message,
                                           sizeof message, &messageLength);
        if (!Succeeded(rc)) {
            break;
        }
        records.push_back({Narrow(state), static_cast<long>(native), Narrow(message)});
    }
    return records;
}

void ThrowError(const std::string& what,
                SQLSMALLINT handleType,
                SQLHANDLE handle,
                const std::string& statement) {
    std::vector<DiagnosticRecord> records = Diagnostics(handleType, handle);
    const bool lost = std::any_of(records.begin(), records.end(), [](const DiagnosticRecord& r) {
        return IsConnectionLostState(r.sqlState);
    });
    if (lost) {
        throw DbConnectionLost(what, std::move(records), statement);
    }
    throw DbException(what, std::move(records), statement);
}

}  // namespace framework::odbc
