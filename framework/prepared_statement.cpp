#include "framework/prepared_statement.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/odbc_handle.h"
#include "framework/platform/sql_dialect.h"
#include "framework/result_columns.h"

#include <algorithm>
#include <limits>

namespace framework {

struct PreparedStatement::Impl {
    odbc::StatementHandle statement;
    std::string sql;
    std::vector<std::string> columns;
    bool executed = false;
    bool cursorOpen = false;
    bool lastRunFailed = false;
    // What the driver reads at SQLExecute: the bound parameters point into these, so they live
    // as long as the statement and are overwritten in place by each run.
    std::vector<SqlParameter> values;
    std::vector<SQLINTEGER> integers;
    std::vector<SQLLEN> lengths;

    [[noreturn]] void Fail(const std::string& what) const {
        odbc::ThrowError(what, SQL_HANDLE_STMT, statement.Get(), sql);
    }

    void Take(const std::vector<SqlParameter>& parameters) {
        if (executed && parameters.size() != values.size()) {
            throw DbException("the statement takes " + std::to_string(values.size()) +
                                  " parameters, not " + std::to_string(parameters.size()),
                              {}, sql);
        }
        values = parameters;
        integers.resize(values.size());
        lengths.resize(values.size());
    }

    void BindText(SQLUSMALLINT number, std::string& text, SQLLEN& length) {
        length = static_cast<SQLLEN>(text.size());
        if (!odbc::Succeeded(odbc::BindParameter(statement.Get(), number, SQL_C_CHAR, SQL_VARCHAR,
                                                 std::max<SQLULEN>(text.size(), 1), text.data(),
                                                 length, &length))) {
            Fail("cannot bind parameter " + std::to_string(number));
        }
    }

    void BindInteger(SQLUSMALLINT number, long value, SQLINTEGER& integer) {
        if (value < std::numeric_limits<SQLINTEGER>::min() ||
            value > std::numeric_limits<SQLINTEGER>::max()) {
            throw DbException("parameter " + std::to_string(number) + " (" + std::to_string(value) +
                                  ") is out of the range of an INTEGER",
                              {}, sql);
        }
        integer = static_cast<SQLINTEGER>(value);
        if (!odbc::Succeeded(odbc::BindParameter(statement.Get(), number, SQL_C_SLONG, SQL_INTEGER,
                                                 0, &integer, 0, nullptr))) {
            Fail("cannot bind parameter " + std::to_string(number));
        }
    }

    void BindDouble(SQLUSMALLINT number, double& value) {
        if (!odbc::Succeeded(odbc::BindParameter(statement.Get(), number, SQL_C_DOUBLE, SQL_DOUBLE,
                                                 0, &value, 0, nullptr))) {
            Fail("cannot bind parameter " + std::to_string(number));
        }
    }

    void BindNull(SQLUSMALLINT number, SqlType type, SQLLEN& length) {
        length = SQL_NULL_DATA;
        SQLRETURN rc = SQL_ERROR;
        switch (type) {
            case SqlType::Integer:
                rc = odbc::BindParameter(statement.Get(), number, SQL_C_SLONG, SQL_INTEGER, 0,
                                         nullptr, 0, &length);
                break;
            case SqlType::Double:
                rc = odbc::BindParameter(statement.Get(), number, SQL_C_DOUBLE, SQL_DOUBLE, 0,
                                         nullptr, 0, &length);
                break;
            case SqlType::Text:
                rc = odbc::BindParameter(statement.Get(), number, SQL_C_CHAR, SQL_VARCHAR, 1,
                                         nullptr, 0, &length);
                break;
        }
        if (!odbc::Succeeded(rc)) {
            Fail("cannot bind parameter " + std::to_string(number));
        }
    }

    void Bind() {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            SqlParameter& value = values[i];
            if (auto* text = std::get_if<std::string>(&value)) {
                BindText(number, *text, lengths[i]);
            } else if (auto* whole = std::get_if<long>(&value)) {
                BindInteger(number, *whole, integers[i]);
            } else if (auto* real = std::get_if<double>(&value)) {
                BindDouble(number, *real);
            } else {
                BindNull(number, std::get<SqlNull>(value).type, lengths[i]);
            }
        }
    }
};

PreparedStatement::PreparedStatement(Database& database, const std::string& sql)
    : impl_(std::make_unique<Impl>()) {
    impl_->sql = sql;
    if (!database.IsOpen()) {
        throw DbException("the database is not open", {}, sql);
    }
    auto* connection = static_cast<SQLHDBC>(database.NativeHandle());
    SQLHSTMT handle = nullptr;
    if (!odbc::Succeeded(odbc::AllocStatement(connection, &handle))) {
        odbc::ThrowError("cannot allocate a statement", SQL_HANDLE_DBC, connection, sql);
    }
    impl_->statement = odbc::StatementHandle(handle);
    if (!odbc::Succeeded(odbc::Prepare(handle, SqlForDbms(database.DbmsName(), sql)))) {
        impl_->Fail("cannot prepare the statement");
    }
}

PreparedStatement::~PreparedStatement() = default;

void PreparedStatement::Execute(const std::vector<SqlParameter>& parameters) {
    Impl& s = *impl_;
    s.lastRunFailed = true;  // until it has run
    if (s.cursorOpen) {
        if (!odbc::Succeeded(odbc::CloseCursor(s.statement.Get()))) {
            s.Fail("cannot end the previous result");
        }
        s.cursorOpen = false;
    }
    s.Take(parameters);
    s.Bind();
    // Even a failed run may leave a result behind to be ended.
    s.cursorOpen = true;
    // SQL_NO_DATA: an UPDATE or DELETE that met no row.
    const SQLRETURN rc = odbc::Execute(s.statement.Get());
    if (!odbc::Succeeded(rc) && rc != SQL_NO_DATA) {
        s.Fail("cannot execute the statement");
    }
    if (!s.executed) {
        s.columns = ResultColumnNames(s.statement.Get(), s.sql);
        s.executed = true;
    }
    // A statement without columns leaves no result to end.
    s.cursorOpen = !s.columns.empty();
    s.lastRunFailed = false;
}

bool PreparedStatement::LastRunFailed() const {
    return impl_->lastRunFailed;
}

void PreparedStatement::CloseCursor() noexcept {
    if (impl_->cursorOpen && odbc::Succeeded(odbc::CloseCursor(impl_->statement.Get()))) {
        impl_->cursorOpen = false;
    }
}

const std::string& PreparedStatement::Sql() const {
    return impl_->sql;
}

const std::vector<std::string>& PreparedStatement::ColumnNames() const {
    return impl_->columns;
}

void* PreparedStatement::NativeHandle() const {
    return impl_->statement.Get();
}

}  // namespace framework
