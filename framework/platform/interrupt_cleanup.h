#pragma once

// A file that must not outlive an interrupted run: a run stopped with Ctrl-C (or ended by
// SIGTERM or SIGHUP) removes it before it ends, as a run that fails does.

#include "framework/platform/export.h"

#include <string>

namespace framework {

// Until ForgetOnInterrupt, an interrupt removes the file at `path`, then ends the program as
// the signal would have. One file at a time; a later call replaces the earlier one.
FRAMEWORK_API void RemoveOnInterrupt(const std::string& path);
FRAMEWORK_API void ForgetOnInterrupt();

}  // namespace framework
