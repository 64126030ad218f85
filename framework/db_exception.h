#pragma once

// The error of the database classes: ODBC's diagnostic records and the SQL (or connection) that
// failed. Passwords never appear in it.

#include "framework/platform/export.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace framework {

struct DiagnosticRecord {
    std::string sqlState;  // five characters, e.g. "HY000"; empty when the driver gave none
    long nativeError = 0;
    std::string message;
};

class FRAMEWORK_API DbException : public std::runtime_error {
  public:
    // `what` names the failing step; `statement` is the SQL text or the connection (password
    // removed) that it worked on.
    DbException(const std::string& what,
                std::vector<DiagnosticRecord> records,
                std::string statement);

    const std::vector<DiagnosticRecord>& Records() const { return records_; }
    const std::string& Statement() const { return statement_; }

    // ODBC's diagnostic text: one line per record, "SQLSTATE (native) message".
    const std::string& ErrorText() const { return errorText_; }

    // Copies ErrorText() into `buffer`, cut to `maxBytes - 1` characters and NUL-terminated.
    // Returns false when there was no room for any of it.
    bool GetErrorMessage(char* buffer, std::size_t maxBytes) const;

    // The first record's SQLSTATE, or an empty text.
    std::string SqlState() const;

  private:
    std::vector<DiagnosticRecord> records_;
    std::string statement_;
    std::string errorText_;
};

// The connection went away (SQLSTATE class 08, or the server ending sessions: 57P01-57P03). Every
// later statement on the same connection fails too; a batch reports it rather than retrying.
class FRAMEWORK_API DbConnectionLost : public DbException {
  public:
    using DbException::DbException;
};

// True for the SQLSTATEs that mean the connection itself is gone.
FRAMEWORK_API bool IsConnectionLostState(const std::string& sqlState);

}  // namespace framework
