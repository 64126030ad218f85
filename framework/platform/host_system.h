#pragma once

// Which kind of system the program runs on, for the few tests whose subject exists on one kind
// only (an ELF symbol table, the mapping of Windows paths onto another file system).

#include "framework/platform/export.h"

namespace framework {

// True on Windows (and under Wine), where the module's Windows paths and connect strings are
// the system's own and are used as they are.
FRAMEWORK_API bool HostIsWindows();

}  // namespace framework
