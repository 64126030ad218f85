#pragma once

// A record, in order, of what modules build, start, stop and destroy while they are loaded and
// unloaded. The loader runs all of it out of sight; the record lets a host's log or a test see
// that a module's objects were built in the order it relies on and torn down in reverse.

#include "framework/platform/export.h"

#include <string>
#include <utility>
#include <vector>

namespace framework {

// Appends `event`. Never throws: a record that cannot grow loses the event.
FRAMEWORK_API void TraceStartupEvent(const std::string& event) noexcept;

// The events so far, oldest first. Only the latest few thousand are kept.
FRAMEWORK_API std::vector<std::string> StartupTrace();

FRAMEWORK_API void ClearStartupTrace();

// An object that a module builds at load and destroys at unload. It reports "build <name>" as
// soon as it is built and "destroy <name>" as its destruction begins, so the record shows the
// order in which the loader really ran the module's initialisers and their destructors.
template <typename T>
class LoadTimeObject : public T {
  public:
    template <typename... Args>
    explicit LoadTimeObject(const char* name, Args&&... args)
        : T(std::forward<Args>(args)...), name_(name) {
        TraceStartupEvent(std::string("build ") + name_);
    }
    ~LoadTimeObject() { TraceStartupEvent(std::string("destroy ") + name_); }
    LoadTimeObject(const LoadTimeObject&) = delete;
    LoadTimeObject& operator=(const LoadTimeObject&) = delete;

  private:
    const char* name_;
};

}  // namespace framework
