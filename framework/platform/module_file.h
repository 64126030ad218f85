#pragma once

// Which file a loaded module was loaded from.

#include <string>

namespace framework::platform {

// The path of the loaded module (or program) whose image holds `address`, as the loader knows
// it; empty when no loaded image holds it.
std::string ModuleFileContaining(const void* address);

}  // namespace framework::platform
