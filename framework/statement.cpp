#include "framework/statement.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/odbc_handle.h"

#include <algorithm>
#include <stdexcept>

namespace framework {

struct Statement::Impl {
    odbc::StatementHandle statement;
    std::string sql;
    std::vector<SqlType> types;
    // Bound parameters point into these until the next Execute.
    std::vector<SqlValue> values;
    std::vector<SQLLEN> indicators;

    [[noreturn]] void Fail(const std::string& what) {
        odbc::ThrowError(what, SQL_HANDLE_STMT, statement.Get(), sql);
    }

    SQLRETURN BindNull(SQLUSMALLINT number, SqlType type, SQLLEN& indicator) {
        indicator = SQL_NULL_DATA;
        switch (type) {
            case SqlType::Integer:
                return odbc::BindParameter(statement.Get(), number, SQL_C_SLONG, SQL_INTEGER, 0,
                                           nullptr, 0, &indicator);
            case SqlType::Double:
                return odbc::BindParameter(statement.Get(), number, SQL_C_DOUBLE, SQL_DOUBLE, 0,
                                           nullptr, 0, &indicator);
            case SqlType::Text:
                break;
        }
        return odbc::BindParameter(statement.Get(), number, SQL_C_CHAR, SQL_VARCHAR, 1, nullptr, 0,
                                   &indicator);
    }

    SQLRETURN Bind(SQLUSMALLINT number, SqlValue& value, SQLLEN& indicator) {
        if (auto* whole = std::get_if<std::int32_t>(&value)) {
            indicator = 0;
            return odbc::BindParameter(statement.Get(), number, SQL_C_SLONG, SQL_INTEGER, 0, whole,
                                       0, &indicator);
        }
        if (auto* number64 = std::get_if<double>(&value)) {
            indicator = 0;
            return odbc::BindParameter(statement.Get(), number, SQL_C_DOUBLE, SQL_DOUBLE, 0,
                                       number64, 0, &indicator);
        }
        auto& text = std::get<std::string>(value);
        indicator = static_cast<SQLLEN>(text.size());
        return odbc::BindParameter(statement.Get(), number, SQL_C_CHAR, SQL_VARCHAR,
                                   std::max<SQLULEN>(text.size(), 1), text.data(),
                                   static_cast<SQLLEN>(text.size()), &indicator);
    }
};

namespace {

bool Fits(const SqlValue& value, SqlType type) {
    switch (type) {
        case SqlType::Text:
            return !std::holds_alternative<std::int32_t>(value) &&
                   !std::holds_alternative<double>(value);
        case SqlType::Integer:
            return !std::holds_alternative<double>(value) &&
                   !std::holds_alternative<std::string>(value);
        case SqlType::Double:
            return !std::holds_alternative<std::int32_t>(value) &&
                   !std::holds_alternative<std::string>(value);
    }
    return false;
}

}  // namespace

Statement::Statement(Database& database,
                     const std::string& sql,
                     std::vector<SqlType> parameterTypes)
    : impl_(std::make_unique<Impl>()) {
    impl_->sql = sql;
    impl_->types = std::move(parameterTypes);
    if (!database.IsOpen()) {
        throw DbException("the database is not open", {}, sql);
    }
    auto* connection = static_cast<SQLHDBC>(database.NativeHandle());
    SQLHANDLE handle = nullptr;
    if (!odbc::Succeeded(odbc::AllocStatement(connection, &handle))) {
        odbc::ThrowError("cannot allocate a statement", SQL_HANDLE_DBC, connection, sql);
    }
    impl_->statement = odbc::StatementHandle(handle);
    if (!odbc::Succeeded(odbc::Prepare(handle, sql))) {
        impl_->Fail("cannot prepare the statement");
    }
}

Statement::~Statement() = default;

void Statement::Execute(const std::vector<SqlValue>& values) {
    if (values.size() != impl_->types.size()) {
        throw std::invalid_argument("the statement takes " + std::to_string(impl_->types.size()) +
                                    " parameters, given " + std::to_string(values.size()));
    }
    impl_->values = values;
    impl_->indicators.assign(values.size(), 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!Fits(values[i], impl_->types[i])) {
            throw std::invalid_argument("parameter " + std::to_string(i + 1) +
                                        " is not of its column's kind");
        }
        const auto number = static_cast<SQLUSMALLINT>(i + 1);
        const SQLRETURN rc = std::holds_alternative<std::monostate>(impl_->values[i])
                                 ? impl_->BindNull(number, impl_->types[i], impl_->indicators[i])
                                 : impl_->Bind(number, impl_->values[i], impl_->indicators[i]);
        if (!odbc::Succeeded(rc)) {
            impl_->Fail("cannot bind parameter " + std::to_string(i + 1));
        }
    }
    const SQLRETURN rc = odbc::Execute(impl_->statement.Get());
    if (!odbc::Succeeded(rc) && rc != SQL_NO_DATA) {
        impl_->Fail("cannot execute the statement");
    }
}

}  // namespace framework
