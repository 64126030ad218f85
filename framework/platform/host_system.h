#pragma once

// Which kind of system the program runs on, for the few tests whose subject exists on one kind
// only (an ELF symbol table, the mapping of Windows paths onto another file system).

#include "framework/platform/export.h"

namespace framework {

// True on Windows (and under Wine), where the module's Windows paths and connect strings are
// the system's own and are used as they are.
FRAMEWORK_API bool HostIsWindows();

// Whether a loaded module may keep threads of its own alive between calls. On Windows a module
// learns of its unload only inside the loader's lock, where waiting for a thread to end never
// returns (the ending thread needs that lock too), so there it keeps its work on the caller's
// thread.
FRAMEWORK_API bool ModuleMayKeepThreads();

}  // namespace framework
