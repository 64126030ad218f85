#include "framework/recordset.h"


#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/odbc_handle.h"
#include "framework/text_compare.h"
#include "framework/platform/sql_dialect.h"

namespace framework {

struct Recordset::Impl {
    Database* database = nullptr;
    odbc::StatementHandle statement;
    std::string sql;
    std::vector<std::string> columns;
    bool open = false;
    bool eof = true;
    // Kept alive for SQLExecute: bound parameters point into these.
    std::vector<SqlParameter> boundValues;
    std::vector<SQLLEN> boundLengths;

    [[noreturn]] void Fail(const std::string& what) {
        odbc::ThrowError(what, SQL_HANDLE_STMT, statement.Get(), sql);
    }

    SQLHSTMT Allocate() {
        if (database == nullptr || !database->IsOpen()) {
            throw DbException("the database is not open", {}, sql);
        }
        auto* connection = static_cast<SQLHDBC>(database->NativeHandle());
        SQLHANDLE handle = nullptr;
        if (!odbc::Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle))) {
            odbc::ThrowError("cannot allocate a statement", SQL_HANDLE_DBC, connection, sql);
        }
        statement = odbc::StatementHandle(handle);
        SQLSetStmtAttr(handle, SQL_ATTR_CURSOR_TYPE,
                       reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY), 0);
        SQLSetStmtAttr(handle, SQL_ATTR_CONCURRENCY,
                       reinterpret_cast<SQLPOINTER>(SQL_CONCUR_READ_ONLY), 0);
        return handle;
    }

    void Bind(SQLHSTMT handle) {
        boundLengths.assign(boundValues.size(), 0);
        for (std::size_t i = 0; i < boundValues.size(); ++i) {
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            SQLRETURN rc;
            if (auto* text = std::get_if<std::string>(&boundValues[i])) {
                boundLengths[i] = static_cast<SQLLEN>(text->size());
                rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                      std::max<SQLULEN>(text->size(), 1), 0, text->data(),
                                      static_cast<SQLLEN>(text->size()), &boundLengths[i]);
            } else {
                rc = SQLBindParameter(handle, number, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0,
                                      0, &std::get<long>(boundValues[i]), 0, nullptr);
            }
            if (!odbc::Succeeded(rc)) {
                Fail("cannot bind parameter " + std::to_string(i + 1));
            }
        }
    }

    void DescribeColumns(SQLHSTMT handle) {
        SQLSMALLINT count = 0;
        if (!odbc::Succeeded(SQLNumResultCols(handle, &count))) {
            Fail("cannot count the result columns");
        }
        columns.clear();
        for (SQLUSMALLINT column = 1; column <= count; ++column) {
            SQLCHAR name[256] = {};
            SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            if (!odbc::Succeeded(SQLDescribeCol(handle, column, name, sizeof name, &nameLength,
                                                &type, &size, &digits, &nullable))) {
                Fail("cannot describe result column " + std::to_string(column));
            }
            columns.emplace_back(reinterpret_cast<const char*>(name));
        }
    }

    SQLUSMALLINT ColumnNumber(std::string_view name) const {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (EqualsIgnoringCase(columns[i], name)) {
                return static_cast<SQLUSMALLINT>(i + 1);
            }
        }
        throw DbException("no column " + std::string(name) + " in the result", {}, sql);
    }

    SQLUSMALLINT CurrentRowColumn(std::string_view name) const {
        if (!open || eof) {
            throw DbException("no current row to read " + std::string(name) + " from", {}, sql);
        }
        return ColumnNumber(name);
    }

    void FetchRow() {
        const SQLRETURN rc = odbc::Fetch(statement.Get());
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

Recordset::~Recordset() = default;

void Recordset::Open(const std::string& sql) { Open(sql, {}); }

void Recordset::Open(const std::string& sql, const std::vector<SqlParameter>& parameters) {
    Close();
    impl_->sql = sql;
    try {
        SQLHSTMT handle = impl_->Allocate();
        const std::string dialectSql = SqlForDbms(impl_->database->DbmsName(), sql);
        if (parameters.empty()) {
            if (!odbc::Succeeded(odbc::ExecDirect(handle, dialectSql))) {
                impl_->Fail("cannot open the record set");
            }
        } else {
            if (!odbc::Succeeded(odbc::Prepare(handle, dialectSql))) {
                impl_->Fail("cannot prepare the record set");
            }
            impl_->boundValues = parameters;
            impl_->Bind(handle);
            if (!odbc::Succeeded(odbc::Execute(handle))) {
                impl_->Fail("cannot open the record set");
            }
        }
        impl_->DescribeColumns(handle);
        impl_->open = true;
        impl_->FetchRow();
    } catch (...) {
        Close();
        throw;
    }
}

bool Recordset::IsOpen() const { return impl_->open; }

bool Recordset::IsEOF() const { return !impl_->open || impl_->eof; }

void Recordset::MoveNext() {
    if (IsEOF()) {
        throw DbException("cannot move past the end of the record set", {}, impl_->sql);
    }
    impl_->FetchRow();
}

void Recordset::Close() {
    impl_->statement.Reset();
    impl_->open = false;
    impl_->eof = true;
    impl_->columns.clear();
    impl_->boundValues.clear();
    impl_->boundLengths.clear();
}

void Recordset::GetFieldValue(std::string_view name, std::string& value) {
    const SQLUSMALLINT column = impl_->CurrentRowColumn(name);
    value.clear();
    char chunk[512];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = odbc::GetData(impl_->statement.Get(), column, SQL_C_CHAR, chunk,
                                           sizeof chunk, &indicator);
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
        const bool truncated = rc == SQL_SUCCESS_WITH_INFO &&
                               (indicator == SQL_NO_TOTAL ||
                                indicator >= static_cast<SQLLEN>(sizeof chunk));
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
    const SQLRETURN rc = odbc::GetData(impl_->statement.Get(), column, SQL_C_DOUBLE, &number,
                                       sizeof number, &indicator);
    if (!odbc::Succeeded(rc)) {
        impl_->Fail("cannot read column " + std::string(name) + " as a number");
    }
    value = indicator == SQL_NULL_DATA ? DbVariant::Null() : DbVariant::Of(number);
}

const std::string& Recordset::Sql() const { return impl_->sql; }

const std::vector<std::string>& Recordset::ColumnNames() const { return impl_->columns; }

}  // namespace framework
