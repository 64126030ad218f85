#pragma once

// The database and library errors raised while one item is calculated. Library code reports them
// as message boxes: a fixed first line, then either ODBC's error text (lines
// "SQLSTATE (native) message") and the SQL or connection it worked on, or, for a library row
// that cannot be used, the plain reason on the second line.

#include <string>
#include <vector>

namespace tavrin21::host {

struct ItemError {
    std::string sqlState;  // empty for a library error
    std::string reason;    // "database error: HY000 file is not a database", "library error: ..."
};

// The error a message box's text reports.
ItemError ParseMessageBox(const std::string& text);

class ItemErrors {
  public:
    // Adds the error of one message box; an error already seen for this item is not repeated.
    void Add(const std::string& messageBoxText);
    void Clear() { errors_.clear(); }

    bool Empty() const { return errors_.empty(); }
    const std::vector<ItemError>& All() const { return errors_; }
    // Whether any of them says the connection itself is gone.
    bool ConnectionLost() const;

  private:
    std::vector<ItemError> errors_;
};

}  // namespace tavrin21::host
