#include "framework/statement_cache.h"

#include "framework/prepared_statement.h"

namespace framework {

StatementCache::StatementCache() = default;

StatementCache::~StatementCache() = default;

PreparedStatement& StatementCache::Get(Database& database, const std::string& sql) {
    const auto found = statements_.find(sql);
    if (found != statements_.end()) {
        if (!found->second->LastRunFailed()) {
            return *found->second;
        }
        // A statement whose run failed is prepared afresh: psqlODBC keeps a copy of the parsed
        // statement (about 300 bytes) that it never frees when a failed statement is run again,
        // which a batch failing item after item would pile up.
        statements_.erase(found);
    }
    auto statement = std::make_unique<PreparedStatement>(database, sql);
    return *statements_.emplace(sql, std::move(statement)).first->second;
}

void StatementCache::Clear() noexcept {
    statements_.clear();
}

}  // namespace framework
