#pragma once

// How a module's start-up refuses its load. A Windows module refuses by returning false from
// its entry point, and the system loader then unloads it and fails the load. A shared object has
// no such entry point: its start-up runs in its static initialisers, inside dlopen, which cannot
// fail because of them. So the start-up reports its result here, and DynamicLibrary::Load, which
// waits for that report around dlopen, unloads the module and fails the load when it says so.

#include <optional>
#include <string>

namespace framework::platform {

// Called by a module's start-up, on the thread that loads it. An empty `failure` means the
// module started. Without a load waiting for it (the module was loaded by other means) the
// report has nowhere to go and the module stays loaded.
void ReportModuleStartup(const std::string& failure);

// One load waiting for its module's report, from construction to destruction. Loads may nest:
// a module's start-up may itself load another module.
class PendingModuleStartup {
  public:
    PendingModuleStartup();
    ~PendingModuleStartup();
    PendingModuleStartup(const PendingModuleStartup&) = delete;
    PendingModuleStartup& operator=(const PendingModuleStartup&) = delete;

    // Why the module's start-up failed; nothing when it started or reported nothing (a module
    // without a start-up of its own, or one that was already loaded).
    std::optional<std::string> Failure() const;

  private:
    std::optional<std::string> failure_;
    PendingModuleStartup* outer_;

    friend void ReportModuleStartup(const std::string& failure);
};

}  // namespace framework::platform
