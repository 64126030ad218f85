#include "framework/statement.h"

#include <stdexcept>

namespace framework {

struct Statement::Impl {
    Impl(Database& database, const std::string& sql, std::vector<SqlType> parameterTypes)
        : prepared(database, sql), types(std::move(parameterTypes)) {}

    PreparedStatement prepared;
    std::vector<SqlType> types;
    std::vector<SqlParameter> parameters;
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

SqlParameter AsParameter(const SqlValue& value, SqlType type) {
    if (const auto* whole = std::get_if<std::int32_t>(&value)) {
        return static_cast<long>(*whole);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    return SqlNull{type};
}

}  // namespace

Statement::Statement(Database& database,
                     const std::string& sql,
                     std::vector<SqlType> parameterTypes)
    : impl_(std::make_unique<Impl>(database, sql, std::move(parameterTypes))) {}

Statement::~Statement() = default;

void Statement::Execute(const std::vector<SqlValue>& values) {
    const std::vector<SqlType>& types = impl_->types;
    if (values.size() != types.size()) {
        throw std::invalid_argument("the statement takes " + std::to_string(types.size()) +
                                    " parameters, given " + std::to_string(values.size()));
    }
    impl_->parameters.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!Fits(values[i], types[i])) {
            throw std::invalid_argument("parameter " + std::to_string(i + 1) +
                                        " is not of its column's kind");
        }
        impl_->parameters.push_back(AsParameter(values[i], types[i]));
    }
    impl_->prepared.Execute(impl_->parameters);
}

}  // namespace framework
