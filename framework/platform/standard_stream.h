#pragma once

#include "framework/platform/export.h"

#include <string>

namespace framework {

// Whether `path` names the file that standard output or standard error is already open on
// (/dev/stdout, /proc/self/fd/2, or the file the shell redirected them to). Such a file belongs
// to whoever opened it: it is written through as it stands, never cut or replaced. Always false
// on Windows, which has no such names.
FRAMEWORK_API bool IsStandardStream(const std::string& path);

}  // namespace framework
