#pragma once

#include "framework/platform/export.h"

namespace framework {

// Whether standard output is a terminal, where control characters would be obeyed, not shown.
FRAMEWORK_API bool StandardOutputIsTerminal();

}  // namespace framework
