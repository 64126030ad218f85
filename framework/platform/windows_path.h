#pragma once

// Where the module's Windows paths lie on this host. The module composes paths as Windows does
// ("D:\PROJ\x.mdb", "\LIB\zova.mdb") and keeps those texts unchanged; the framework's file and
// database layers map them here, and only here, onto the host's file system:
//   - a backslash or a slash separates folders;
//   - a drive letter ("D:", either case) stands for the folder configured for that letter, or,
//     when none is, for the folder named by the upper-case letter below the current drive's root;
//   - a path from the root of the current drive ("\LIB\zova.mdb") lies below the configured root
//     of the current drive;
//   - any other path is relative to the working folder.
// Names are matched as the host's file system matches them (case-sensitively here).

#include "framework/platform/export.h"

#include <filesystem>
#include <map>
#include <string_view>

namespace framework {

struct PathMapping {
    std::filesystem::path currentDriveRoot = "/";
    // By upper-case drive letter.
    std::map<char, std::filesystem::path> driveFolders;
};

// Installs `mapping` and returns the one it replaces.
FRAMEWORK_API PathMapping SetPathMapping(PathMapping mapping);
FRAMEWORK_API PathMapping CurrentPathMapping();

// The host path of the Windows path `windowsPath`; empty for an empty text.
FRAMEWORK_API std::filesystem::path HostPath(std::string_view windowsPath);

}  // namespace framework
