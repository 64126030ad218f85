// Locating, making and opening a library database file.

#include "framework/platform/file_io.h"
#include "library/connect_file.h"
#include "library/database_file.h"
#include "library/file_copy.h"
#include "library/library_location.h"
#include "library/version_probe.h"

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
    const int result = ConnectLibraryFile(connection, [this]() -> std::optional<std::string> {
        if (path.empty()) {
            path = ComposedPath(*this);
            if (!framework::FindFile(path)) {
                // The copy's result does not matter: connecting tells whether there is a file.
                FileCopy(path, JoinPath(kTemplateDirectory, templateName, ""));
            }
        } else if (!framework::FindFile(path)) {
            return std::nullopt;  // a path set earlier is taken as it is: no copy, no message
        }
        return path;
    });
    if (result == kOpenConnected) {
        version = ProbeVersion(fileName, connection);
    }
    return result;
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
