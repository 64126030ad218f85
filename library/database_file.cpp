#include "library/database_file.h"

#include <utility>

namespace tavrin21 {

DatabaseFile::DatabaseFile(std::string driveText,
                           std::string directoryText,
                           std::string fileNameText)
    : directory(std::move(directoryText)),
      drive(std::move(driveText)),
      fileName(std::move(fileNameText)),
      templateName(fileName) {}

DatabaseFile::~DatabaseFile() {
    DatabaseFile::Close();
}

int DatabaseFile::Close() {
    if (recordset.IsOpen()) {
        recordset.Close();
    }
    if (connection.IsOpen()) {
        connection.Close();
    }
    return 0;
}

}  // namespace tavrin21
