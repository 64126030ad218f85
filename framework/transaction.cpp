#include "framework/transaction.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"

namespace framework {

namespace {

SQLHDBC Connection(const Database& database) {
    return static_cast<SQLHDBC>(database.NativeHandle());
}

}  // namespace

Transaction::Transaction(Database& database) : database_(database) {
    if (!database.IsOpen()) {
        throw DbException("the database is not open", {}, "begin a transaction");
    }
    if (!odbc::Succeeded(odbc::SetAutocommit(Connection(database), false))) {
        odbc::ThrowError("cannot begin a transaction", SQL_HANDLE_DBC, Connection(database),
                         database.DisplayName());
    }
}

Transaction::~Transaction() {
    if (!database_.IsOpen()) {
        return;
    }
    // Results not looked at: a destructor cannot report them. A rollback that failed is done
    // again by Database::Close, which rolls back whatever is open before it disconnects.
    if (!committed_) {
        odbc::EndTran(Connection(database_), false);
    }
    odbc::SetAutocommit(Connection(database_), true);
}

void Transaction::Commit() {
    if (!odbc::Succeeded(odbc::EndTran(Connection(database_), true))) {
        odbc::ThrowError("cannot commit the transaction", SQL_HANDLE_DBC, Connection(database_),
                         database_.DisplayName());
    }
    committed_ = true;
}

}  // namespace framework
