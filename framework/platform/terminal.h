#pragma once

#include "framework/platform/export.h"

namespace framework {

// Whether standard output is a terminal, where control characters would be obeyed, not shown.
FRAMEWORK_API bool StandardOutputIsTerminal();

// Whether standard error is a terminal, where a progress line can be redrawn in place.
FRAMEWORK_API bool StandardErrorIsTerminal();

}  // namespace framework
