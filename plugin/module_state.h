#pragma once

#include "framework/module_state.h"

namespace tavrin21 {

// The module's own framework state, made current by every export that runs in it.
framework::ModuleState* TheModuleState();

}  // namespace tavrin21
