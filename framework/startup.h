#pragma once

// A module's start-up and termination. The loader builds the module's objects first (its state,
// its application object, its tables); then the framework starts up for the application and
// runs its InitInstance. At unload the application's ExitInstance and the framework's
// termination run before any of those objects is destroyed.

#include "framework/app.h"
#include "framework/module_state.h"
#include "framework/platform/export.h"

#include <string>

namespace framework {

// The framework's start-up for `application`, loaded from `moduleFile`: the application learns
// its module and command line, and takes the module file's name (without folder or extension)
// as its name when it has none. False, and nothing changed, without an application or a file.
FRAMEWORK_API bool FrameworkInit(Application* application,
                                 const std::string& moduleFile,
                                 const std::string& commandLine);

// The framework's termination, the last thing that runs before a module's objects go.
FRAMEWORK_API void FrameworkTerm();

// A module's entry point: its construction is the module's start-up, its destruction the
// module's termination. Define exactly one, at namespace scope, after every other object the
// module builds at load and in the same file, so that it is built last and destroyed first.
//
// Start-up, with `state` current: FrameworkInit with the module's file and an empty command
// line, then the application's InitInstance. When FrameworkInit fails, FrameworkTerm runs; when
// InitInstance refuses or throws, ExitInstance and FrameworkTerm run. Either way the failure
// goes to the module's loader, which unloads the module and fails the load.
// Termination, after a successful start-up only, with `state` current: ExitInstance, then
// FrameworkTerm.
class FRAMEWORK_API ModuleEntry {
  public:
    ModuleEntry(ModuleState& state, Application* application) noexcept;
    ~ModuleEntry();
    ModuleEntry(const ModuleEntry&) = delete;
    ModuleEntry& operator=(const ModuleEntry&) = delete;

  private:
    // Why the start-up failed, or an empty text.
    std::string Start();
    void Stop() noexcept;

    ModuleState& state_;
    Application* application_;
    bool started_ = false;
};

}  // namespace framework
