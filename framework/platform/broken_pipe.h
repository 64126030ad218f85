#pragma once

// Writing into a pipe whose reader has gone. By default POSIX kills the writing process without
// a word; a program that reports its own errors wants the write to fail instead.

#include "framework/platform/export.h"

namespace framework {

// From now on a write into a closed pipe fails (EPIPE) instead of ending the process.
// Does nothing where there is no such signal.
FRAMEWORK_API void IgnoreBrokenPipeSignal();

}  // namespace framework
