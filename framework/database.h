#pragma once

// A connection to a database through the ODBC driver manager.

#include "framework/connect_items.h"
#include "framework/platform/export.h"

#include <cstdint>
#include <memory>
#include <string>

namespace framework {

class StatementCache;

class FRAMEWORK_API Database {
  public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Connects with an ODBC connect string ("DRIVER=SQLite3;Database=/path/lib.sqlite"), without
    // prompting. Throws DbException naming the connection, password removed, on failure.
    void Open(const std::string& connectString);
    bool IsOpen() const;
    // Disconnects; a closed database may be opened again.
    void Close();

    // Whether the driver reports the link to the server gone (a terminated session, a stopped
    // server); every statement on it fails until it is reopened. False for a closed database.
    bool IsConnectionDead() const;
    // Closes and opens again with the connect string of the last Open, session settings and all.
    // Throws DbException as Open does, or when the database was never opened.
    void Reopen();

    // Runs one statement that returns no rows. Throws DbException naming the SQL.
    void ExecuteSQL(const std::string& sql);

    // The connect string as opened, with any password removed.
    const std::string& DisplayName() const;

    // The database system behind the connection ("SQLite", "PostgreSQL"), asked once at Open.
    const std::string& DbmsName() const;

    // A number no other connection made in this process shares: every Open and Reopen takes a
    // new one, and a closed database has 0. What a caller keeps about a connection holds only
    // while its serial does.
    std::uint64_t ConnectionSerial() const;

    // The ODBC connection handle (SQLHDBC), for the framework's record sets.
    void* NativeHandle() const;

    // The statements prepared on this connection; dropped when it closes.
    StatementCache& Statements();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace framework
