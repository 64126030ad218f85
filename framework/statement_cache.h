#pragma once

// The statements prepared on one connection, kept for as long as it stays open, so that a query
// run for every item is prepared once per connection instead of once per item.

#include "framework/platform/export.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace framework {

class Database;
class PreparedStatement;

class FRAMEWORK_API StatementCache {
  public:
    StatementCache();
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The statement prepared for `sql` on `database` (the Database that owns this cache),
    // prepared now when it is not yet, or when its last run failed. Throws DbException naming
    // the SQL.
    PreparedStatement& Get(Database& database, const std::string& sql);

    // Frees every statement. The owning Database does so before it disconnects.
    void Clear() noexcept;

    std::size_t Size() const { return statements_.size(); }

  private:
    std::unordered_map<std::string, std::unique_ptr<PreparedStatement>> statements_;
};

}  // namespace framework
