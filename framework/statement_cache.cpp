#include "framework/statement_cache.h"

#include "framework/prepared_statement.h"

namespace framework {

StatementCache::StatementCache() = default;

StatementCache::~StatementCache() = default;

PreparedStatement& StatementCache::Get(Database& database, const std::string& sql) {
    const auto found = statements_.find(sql);
    if (found != statements_.end()) {
        return *found->second;
    }
    auto statement = std::make_unique<PreparedStatement>(database, sql);
    return *statements_.emplace(sql, std::move(statement)).first->second;
}

void StatementCache::Clear() noexcept {
    statements_.clear();
}

}  // namespace framework
