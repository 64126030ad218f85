#pragma once

// Which module's framework state is current. A module makes its own state current for the
// length of each call it serves, so that what it builds belongs to it, and gives the caller's
// state back on every way out.

#include "framework/platform/export.h"

#include <string>

namespace framework {

class FRAMEWORK_API ModuleState {
  public:
    explicit ModuleState(std::string moduleName) : moduleName_(std::move(moduleName)) {}
    ModuleState(const ModuleState&) = delete;
    ModuleState& operator=(const ModuleState&) = delete;

    const std::string& ModuleName() const { return moduleName_; }

  private:
    std::string moduleName_;
};

// The state current on this thread: the process's own until a guard changes it.
FRAMEWORK_API ModuleState* CurrentModuleState();
FRAMEWORK_API ModuleState* ProcessModuleState();

// Makes `state` current from construction to destruction, then restores the previous one.
class FRAMEWORK_API ModuleStateGuard {
  public:
    explicit ModuleStateGuard(ModuleState* state);
    ~ModuleStateGuard();
    ModuleStateGuard(const ModuleStateGuard&) = delete;
    ModuleStateGuard& operator=(const ModuleStateGuard&) = delete;

  private:
    ModuleState* previous_;
};

}  // namespace framework
