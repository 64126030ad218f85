#include "framework/recordset.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/odbc_handle.h"
#include "framework/platform/sql_dialect.h"
#include "framework/result_columns.h"
#include "framework/text_compare.h"

namespace framework {

struct Recordset::Impl {
    Database* database = nullptr;
    // The result read: of a statement run directly, owned here, or of a prepared statement,
    // owned here (Open with parameters) or by the database's statement cache.
    odbc::StatementHandle ownStatement;
    std::unique_ptr<PreparedStatement> ownPrepared;
    PreparedStatement* prepared = nullptr;
    SQLHSTMT statement = nullptr;
    std::string ownSql;
    const std::string* sql = &ownSql;
    std::vector<std::string> ownColumns;
    const std::vector<std::string>* columns = &ownColumns;
    bool open = false;
    bool eof = true;

    [[noreturn]] void Fail(const std::string& what) {
        odbc::ThrowError(what, SQL_HANDLE_STMT, statement, *sql);
    }

    SQLHSTMT Allocate() {
        if (database == nullptr || !database->IsOpen()) {
            throw DbException("the database is not open", {}, *sql);
        }
        auto* connection = static_cast<SQLHDBC>(database->NativeHandle());
        SQLHSTMT handle = nullptr;
        if (!odbc::Succeeded(odbc::AllocStatement(connection, &handle))) {
            odbc::ThrowError("cannot allocate a statement", SQL_HANDLE_DBC, connection, *sql);
        }
        ownStatement = odbc::StatementHandle(handle);
        statement = handle;
        if (!odbc::Succeeded(
                odbc::SetStmtAttr(handle, SQL_ATTR_CURSOR_TYPE,
                                  reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY)))) {
            Fail("cannot ask for a forward-only cursor");
        }
        if (!odbc::Succeeded(
                odbc::SetStmtAttr(handle, SQL_ATTR_CONCURRENCY,
                                  reinterpret_cast<SQLPOINTER>(SQL_CONCUR_READ_ONLY)))) {
            Fail("cannot ask for a read-only cursor");
        }
        return handle;
    }

    void Run(PreparedStatement& statementToRun, const std::vector<SqlParameter>& parameters) {
        if (statementToRun.leased_) {
            throw DbException("the prepared statement is being read by another record set", {},
                              statementToRun.Sql());
        }
        statementToRun.leased_ = true;
        prepared = &statementToRun;
        sql = &statementToRun.Sql();
        statement = static_cast<SQLHSTMT>(statementToRun.NativeHandle());
        statementToRun.Execute(parameters);
        columns = &statementToRun.ColumnNames();
    }

    SQLUSMALLINT ColumnNumber(std::string_view name) const {
        for (std::size_t i = 0; i < columns->size(); ++i) {
            if (EqualsIgnoringCase((*columns)[i], name)) {
                return static_cast<SQLUSMALLINT>(i + 1);
            }
        }
        throw DbException("no column " + std::string(name) + " in the result", {}, *sql);
    }

    SQLUSMALLINT CurrentRowColumn(std::string_view name) const {
        if (!open || eof) {
            throw DbException("no current row to read " + std::string(name) + " from", {}, *sql);
        }
        return ColumnNumber(name);
    }

    void FetchRow() {
        const SQLRETURN rc = odbc::Fetch(statement);
        if (rc == SQL_NO_DATA) {
            eof = true;
            return;
        }
        if (!odbc::Succeeded(rc)) {
            eof = true;
            Fail("cannot fetch a row");
        }
        eof = false;
    }
};

Recordset::Recordset(Database* database) : impl_(std::make_unique<Impl>()) {
    impl_->database = database;
}

Recordset::~Recordset() {
    Close();
}

void Recordset::Open(const std::string& sql) {
    Open(sql, {});
}

void Recordset::Open(const std::string& sql, const std::vector<SqlParameter>& parameters) {
    Close();
    impl_->ownSql = sql;
    try {
        if (!parameters.empty()) {
            if (impl_->database == nullptr) {
                throw DbException("the database is not open", {}, sql);
            }
            impl_->ownPrepared = std::make_unique<PreparedStatement>(*impl_->database, sql);
            impl_->Run(*impl_->ownPrepared, parameters);
        } else {
            SQLHSTMT handle = impl_->Allocate();
            if (!odbc::Succeeded(
                    odbc::ExecDirect(handle, SqlForDbms(impl_->database->DbmsName(), sql)))) {
                impl_->Fail("cannot open the record set");
            }
            impl_->ownColumns = ResultColumnNames(handle, sql);
        }
        impl_->open = true;
        impl_->FetchRow();
    } catch (...) {
        Close();
        throw;
    }
}

void Recordset::Open(PreparedStatement& statement, const std::vector<SqlParameter>& parameters) {
    Close();
    try {
        impl_->Run(statement, parameters);
        impl_->open = true;
        impl_->FetchRow();
    } catch (...) {
        Close();
        throw;
    }
}

bool Recordset::IsOpen() const {
    return impl_->open;
}

bool Recordset::IsEOF() const {
    return !impl_->open || impl_->eof;
}

void Recordset::MoveNext() {
    if (IsEOF()) {
        throw DbException("cannot move past the end of the record set", {}, *impl_->sql);
    }
    impl_->FetchRow();
}

void Recordset::Close() {
    if (impl_->prepared != nullptr) {
        impl_->prepared->CloseCursor();
        impl_->prepared->leased_ = false;
        impl_->prepared = nullptr;
    }
    impl_->ownPrepared.reset();
    impl_->ownStatement.Reset();
    impl_->statement = nullptr;
    impl_->sql = &impl_->ownSql;
    impl_->columns = &impl_->ownColumns;
    impl_->ownColumns.clear();
    impl_->open = false;
    impl_->eof = true;
}

void Recordset::GetFieldValue(std::string_view name, std::string& value) {
    const SQLUSMALLINT column = impl_->CurrentRowColumn(name);
    value.clear();
    char chunk[512];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            odbc::GetData(impl_->statement, column, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
        if (rc == SQL_NO_DATA) {
            return;
        }
        if (!odbc::Succeeded(rc)) {
            impl_->Fail("cannot read column " + std::string(name));
        }
        if (indicator == SQL_NULL_DATA) {
            value.clear();
            return;
        }
        // A long text arrives in pieces; each but the last fills the chunk less its NUL.
        const bool truncated =
            rc == SQL_SUCCESS_WITH_INFO &&
            (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk));
        if (!truncated) {
            value.append(chunk, static_cast<std::size_t>(indicator));
            return;
        }
        value.append(chunk, sizeof chunk - 1);
    }
}

void Recordset::GetFieldValue(std::string_view name, DbVariant& value) {
    const SQLUSMALLINT column = impl_->CurrentRowColumn(name);
    double number = 0.0;
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        odbc::GetData(impl_->statement, column, SQL_C_DOUBLE, &number, sizeof number, &indicator);
    if (!odbc::Succeeded(rc)) {
        impl_->Fail("cannot read column " + std::string(name) + " as a number");
    }
    value = indicator == SQL_NULL_DATA ? DbVariant::Null() : DbVariant::Of(number);
}

const std::vector<std::string>& Recordset::ColumnNames() const {
    return *impl_->columns;
}

}  // namespace framework
