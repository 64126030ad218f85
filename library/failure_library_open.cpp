// Opening the failure-data library: in the library folder of the current drive unless the
// object names a folder of its own.

#include "framework/platform/file_io.h"
#include "library/access_driver.h"
#include "library/connect_file.h"
#include "library/failure_library.h"
#include "library/file_copy.h"
#include "library/library_location.h"

#include <exception>

namespace tavrin21 {

namespace {

// The library's name when the object has none; only the library file takes it, the template
// path is built from the empty name.
constexpr const char* kDefaultLibraryFileName = "ZOVA.MDB";

}  // namespace

int FailureLibrary::Open() {
    if (!directory.empty()) {
        return DatabaseFile::Open();
    }
    Close();
    std::string connectString;
    try {
        const std::string driver = AccessDriverName();
        const std::string name = fileName.empty() ? kDefaultLibraryFileName : fileName;
        path = JoinPath(kFailureLibraryDirectory, name, "");
        if (!framework::FindFile(path)) {
            FileCopy(path, JoinPath(kTemplateDirectory, fileName, ""));
        }
        connectString = AccessConnectString(driver, path);
        if (ConnectFile(connection, connectString) != 0) {
            return 1;
        }
    } catch (const std::exception& error) {
        ShowOpenError(error, connectString);
        return 2;
    }
    return 0;
}

}  // namespace tavrin21
