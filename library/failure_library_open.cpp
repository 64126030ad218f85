// Opening the failure-data library: in the library folder of the current drive unless the
// object names a folder of its own.

#include "framework/platform/file_io.h"
#include "library/connect_file.h"
#include "library/failure_library.h"
#include "library/file_copy.h"
#include "library/library_location.h"

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
    return ConnectLibraryFile(connection, [this]() -> std::optional<std::string> {
        const std::string name = fileName.empty() ? kDefaultLibraryFileName : fileName;
        path = JoinPath(kFailureLibraryDirectory, name, "");
        if (!framework::FindFile(path)) {
            FileCopy(path, JoinPath(kTemplateDirectory, fileName, ""));
        }
        return path;
    });
}

}  // namespace tavrin21
