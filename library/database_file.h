#pragma once

// One database file of the suite: where it lies, what it is called, which template it is made
// from, and a connection and record set of its own.

#include "framework/database.h"
#include "framework/recordset.h"

#include <string>

namespace tavrin21 {

// Open results.
inline constexpr int kOpenConnected = 0;
inline constexpr int kOpenNotConnected = 1;  // no file, or the driver refused the connection
inline constexpr int kOpenFailed = 2;        // an error was caught and shown

class DatabaseFile {
  public:
    // Texts by value, in this order: the drive (its first character is the drive letter), the
    // directory below the drive's root, and the file name, which also names the template.
    DatabaseFile(std::string driveText, std::string directoryText, std::string fileNameText);
    // Not virtual: objects are deleted through their own type. Closes through this class's own
    // Close, never through an override.
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    // Connects `connection` to the file: one of the Open results above.
    virtual int Open();
    // Closes `recordset`, then `connection`, whichever is open. Returns 0.
    virtual int Close();
    // Close, then Open.
    virtual int Reopen();
    // Whether a file or folder lies at `path`.
    virtual bool Exists();

    double version = 0.0;  // format version of the open database
    std::string directory;
    std::string drive;
    std::string path;  // full path; empty until composed
    std::string fileName;
    std::string templateName;  // name of the template file the database is made from
    framework::Database connection;
    framework::Recordset recordset{nullptr};
};

}  // namespace tavrin21
