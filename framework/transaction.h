#pragma once

// A transaction on an open Database: autocommit is off while it lives, and whatever it did is
// undone unless it was committed.

#include "framework/platform/export.h"

namespace framework {

class Database;

class FRAMEWORK_API Transaction {
  public:
    // Turns autocommit off. Throws DbException when the driver refuses.
    explicit Transaction(Database& database);
    // Rolls back what was not committed and turns autocommit on again; never throws.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes every statement since the start permanent. Throws DbException when the commit fails;
    // the transaction is then rolled back by the destructor.
    void Commit();

  private:
    Database& database_;
    bool committed_ = false;
};

}  // namespace framework
