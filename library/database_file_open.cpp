// Locating, making and opening a library database file.

#include "framework/platform/file_io.h"
#include "library/access_driver.h"
#include "library/connect_file.h"
#include "library/database_file.h"
#include "library/file_copy.h"
#include "library/library_location.h"
#include "library/version_probe.h"

#include <exception>
#include <stdexcept>

namespace tavrin21 {

namespace {

std::string ComposedPath(const DatabaseFile& file) {
    return JoinDrivePath(DriveIndex(file.drive), file.directory, file.fileName, "");
}

}  // namespace

int DatabaseFile::Open() {
    version = 0.0;
    if (connection.IsOpen()) {
        Close();
    }
    std::string connectString;
    try {
        const std::string driver = AccessDriverName();
        if (path.empty()) {
            path = ComposedPath(*this);
            if (!framework::FindFile(path)) {
                // The copy's result does not matter: connecting tells whether there is a file.
                FileCopy(path, JoinPath(kTemplateDirectory, templateName, ""));
            }
        } else if (!framework::FindFile(path)) {
            return 1;
        }
        connectString = AccessConnectString(driver, path);
        if (ConnectFile(connection, connectString) != 0) {
            return 1;
        }
    } catch (const std::exception& error) {
        ShowOpenError(error, connectString);
        return 2;
    }
    version = ProbeVersion(fileName, connection);
    return 0;
}

int DatabaseFile::Reopen() {
    Close();
    return Open();
}

bool DatabaseFile::Exists() {
    if (path.empty()) {
        try {
            path = ComposedPath(*this);
        } catch (const std::length_error&) {
            return false;  // no file lies at a path that cannot be composed
        }
    }
    return framework::FindFile(path);
}

}  // namespace tavrin21
