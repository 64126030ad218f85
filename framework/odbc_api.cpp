#include "framework/odbc_api.h"

#include <algorithm>
#include <array>

namespace framework::odbc {

namespace {

// EndTran is the last kind of call.
constexpr std::size_t kCallKinds = static_cast<std::size_t>(Call::EndTran) + 1;

struct FaultPlan {
    FaultPlan() { countdown.fill(-1); }
    std::array<int, kCallKinds> countdown;
    std::array<long, kCallKinds> uses{};
    bool lastCallFaulted = false;
};

FaultPlan& Faults() {
    static thread_local FaultPlan plan;
    return plan;
}

// True when this use of `call` is the one to fail.
bool FaultDue(Call call) {
    FaultPlan& plan = Faults();
    int& countdown = plan.countdown[static_cast<std::size_t>(call)];
    ++plan.uses[static_cast<std::size_t>(call)];
    plan.lastCallFaulted = false;
    if (countdown < 0) {
        return false;
    }
    if (countdown-- == 0) {
        plan.lastCallFaulted = true;
        return true;
    }
    return false;
}

std::string Narrow(const SQLCHAR* text) { return reinterpret_cast<const char*>(text); }

SQLCHAR* Text(const std::string& text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

}  // namespace

void InjectFault(Call call, int callsBefore) {
    Faults().countdown[static_cast<std::size_t>(call)] = callsBefore;
}

void ClearFaults() { Faults() = FaultPlan{}; }

long CallCount(Call call) { return Faults().uses[static_cast<std::size_t>(call)]; }

SQLRETURN DriverConnect(SQLHDBC connection, const std::string& connectString) {
    if (FaultDue(Call::Connect)) {
        return SQL_ERROR;
    }
    SQLCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    return SQLDriverConnect(connection, nullptr, Text(connectString), SQL_NTS, completed,
                            sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
}

SQLRETURN AllocStatement(SQLHDBC connection, SQLHSTMT* statement) {
    if (FaultDue(Call::AllocStatement)) {
        return SQL_ERROR;
    }
    return SQLAllocHandle(SQL_HANDLE_STMT, connection, statement);
}

SQLRETURN BindParameter(SQLHSTMT statement,
                        SQLUSMALLINT number,
                        SQLSMALLINT valueType,
                        SQLSMALLINT parameterType,
                        SQLULEN columnSize,
                        SQLPOINTER value,
                        SQLLEN valueBytes,
                        SQLLEN* indicator) {
    if (FaultDue(Call::BindParameter)) {
        return SQL_ERROR;
    }
    return SQLBindParameter(statement, number, SQL_PARAM_INPUT, valueType, parameterType,
                            columnSize, 0, value, valueBytes, indicator);
}

SQLRETURN CloseCursor(SQLHSTMT statement) {
    if (FaultDue(Call::CloseCursor)) {
        return SQL_ERROR;
    }
    return SQLFreeStmt(statement, SQL_CLOSE);
}

SQLRETURN SetAutocommit(SQLHDBC connection, bool on) {
    if (FaultDue(Call::SetAutocommit)) {
        return SQL_ERROR;
    }
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    return SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), 0);
}

SQLRETURN EndTran(SQLHDBC connection, bool commit) {
    if (FaultDue(Call::EndTran)) {
        return SQL_ERROR;
    }
    return SQLEndTran(SQL_HANDLE_DBC, connection, commit ? SQL_COMMIT : SQL_ROLLBACK);
}

SQLRETURN ExecDirect(SQLHSTMT statement, const std::string& sql) {
    if (FaultDue(Call::ExecDirect)) {
        return SQL_ERROR;
    }
    return SQLExecDirect(statement, Text(sql), SQL_NTS);
}

SQLRETURN Prepare(SQLHSTMT statement, const std::string& sql) {
    if (FaultDue(Call::Prepare)) {
        return SQL_ERROR;
    }
    return SQLPrepare(statement, Text(sql), SQL_NTS);
}

SQLRETURN Execute(SQLHSTMT statement) {
    if (FaultDue(Call::Execute)) {
        return SQL_ERROR;
    }
    return SQLExecute(statement);
}

SQLRETURN Fetch(SQLHSTMT statement) {
    if (FaultDue(Call::Fetch)) {
        return SQL_ERROR;
    }
    return SQLFetch(statement);
}

SQLRETURN GetData(SQLHSTMT statement,
                  SQLUSMALLINT column,
                  SQLSMALLINT targetType,
                  SQLPOINTER target,
                  SQLLEN targetBytes,
                  SQLLEN* indicator) {
    if (FaultDue(Call::GetData)) {
        return SQL_ERROR;
    }
    return SQLGetData(statement, column, targetType, target, targetBytes, indicator);
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
