#include "framework/database.h"

#include "framework/connect_items.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/odbc_handle.h"
#include "framework/platform/connect_string.h"
#include "framework/session_settings.h"
#include "framework/statement_cache.h"
#include "framework/text_compare.h"

#include <atomic>

namespace framework {

namespace {

// Connect strings written for the framework may start with "ODBC;", which names the kind of
// source, not a key; the driver manager would read it as part of the first key.
std::string WithoutOdbcPrefix(const std::string& connectString) {
    if (connectString.size() >= 5 &&
        EqualsIgnoringCase(std::string_view(connectString).substr(0, 5), "ODBC;")) {
        return connectString.substr(5);
    }
    return connectString;
}

}  // namespace

struct Database::Impl {
    odbc::EnvironmentHandle environment;
    odbc::ConnectionHandle connection;
    bool connected = false;
    std::uint64_t serial = 0;
    std::string displayName;
    std::string dbmsName;
    StatementCache statements;
    std::string connectString;  // as given to Open, password and all, for Reopen

    // Frees the statements, disconnects and frees the handles. Never throws.
    void Release() noexcept {
        statements.Clear();
        serial = 0;
        if (connected) {
            connected = false;
            // A driver refuses to disconnect inside a transaction (25000): closing gives up what
            // was not committed, so roll it back and try once more. Should that fail too, the
            // connection handle cannot be freed either, and there is nothing left to do.
            if (!odbc::Succeeded(odbc::Disconnect(connection.Get()))) {
                odbc::EndTran(connection.Get(), false);
                odbc::Disconnect(connection.Get());
            }
        }
        connection.Reset();
        environment.Reset();
    }
};

Database::Database() : impl_(std::make_unique<Impl>()) {}

Database::~Database() {
    impl_->Release();
}

void Database::Open(const std::string& connectString) {
    Close();
    impl_->displayName = RedactPassword(connectString);
    impl_->dbmsName.clear();

    SQLHENV environment = nullptr;
    if (!odbc::Succeeded(odbc::AllocEnvironment(&environment))) {
        odbc::ThrowError("cannot allocate an ODBC environment", SQL_HANDLE_ENV, nullptr,
                         impl_->displayName);
    }
    impl_->environment = odbc::EnvironmentHandle(environment);
    if (!odbc::Succeeded(odbc::SetEnvAttr(environment, SQL_ATTR_ODBC_VERSION,
                                          reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3)))) {
        odbc::ThrowError("cannot set the ODBC version", SQL_HANDLE_ENV, environment,
                         impl_->displayName);
    }

    SQLHDBC connection = nullptr;
    if (!odbc::Succeeded(odbc::AllocConnection(environment, &connection))) {
        odbc::ThrowError("cannot allocate an ODBC connection", SQL_HANDLE_ENV, environment,
                         impl_->displayName);
    }
    impl_->connection = odbc::ConnectionHandle(connection);

    const std::string forDriverManager =
        WithoutOdbcPrefix(ConnectStringForDriverManager(connectString));
    if (!odbc::Succeeded(odbc::DriverConnect(connection, forDriverManager))) {
        odbc::ThrowError("cannot connect to " + impl_->displayName, SQL_HANDLE_DBC, connection,
                         impl_->displayName);
    }
    impl_->connected = true;
    static std::atomic<std::uint64_t> lastSerial = 0;
    impl_->serial = ++lastSerial;
    impl_->connectString = connectString;
    try {
        if (!odbc::Succeeded(odbc::GetInfoText(connection, SQL_DBMS_NAME, impl_->dbmsName))) {
            odbc::ThrowError("cannot ask for the database system's name", SQL_HANDLE_DBC,
                             connection, impl_->displayName);
        }
        ApplySessionSettings(*this);
    } catch (...) {
        Close();
        throw;
    }
}

bool Database::IsOpen() const {
    return impl_->connected;
}

void Database::Close() {
    impl_->Release();
}

void Database::ExecuteSQL(const std::string& sql) {
    if (!impl_->connected) {
        throw DbException("the database is not open", {}, sql);
    }
    SQLHSTMT statement = nullptr;
    if (!odbc::Succeeded(odbc::AllocStatement(impl_->connection.Get(), &statement))) {
        odbc::ThrowError("cannot allocate a statement", SQL_HANDLE_DBC, impl_->connection.Get(),
                         sql);
    }
    odbc::StatementHandle owner(statement);
    const SQLRETURN rc = odbc::ExecDirect(statement, sql);
    if (!odbc::Succeeded(rc) && rc != SQL_NO_DATA) {
        odbc::ThrowError("cannot execute SQL", SQL_HANDLE_STMT, statement, sql);
    }
}

bool Database::IsConnectionDead() const {
    if (!impl_->connected) {
        return false;
    }
    SQLUINTEGER dead = SQL_CD_FALSE;
    // A driver that cannot tell counts as alive; the caller then reopens every connection.
    const SQLRETURN rc =
        odbc::GetConnectAttr(impl_->connection.Get(), SQL_ATTR_CONNECTION_DEAD, &dead);
    return odbc::Succeeded(rc) && dead == SQL_CD_TRUE;
}

void Database::Reopen() {
    if (impl_->connectString.empty()) {
        throw DbException("the database was never opened", {}, impl_->displayName);
    }
    const std::string connectString = impl_->connectString;
    Open(connectString);
}

std::uint64_t Database::ConnectionSerial() const {
    return impl_->serial;
}

const std::string& Database::DisplayName() const {
    return impl_->displayName;
}

const std::string& Database::DbmsName() const {
    return impl_->dbmsName;
}

void* Database::NativeHandle() const {
    return impl_->connection.Get();
}

StatementCache& Database::Statements() {
    return impl_->statements;
}

}  // namespace framework
