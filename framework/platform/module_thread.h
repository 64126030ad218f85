#pragma once

// Threads that a module starts for work of its own, and how they end before it unloads.
//
// Where a module learns of its unload only inside the loader's lock (Windows), it cannot wait
// there for a thread to end: the ending thread needs that lock too. There each thread holds a
// reference to the module whose code it runs, so that the module stays loaded while the thread
// exists, and drops it only as it ends, without returning into the module's code. Such threads
// must end by themselves (when they have been idle a while, say); once the last has ended, the
// module unloads with none left. Elsewhere the module joins its threads when it unloads.

#include "framework/platform/export.h"

namespace framework {

// True where a module's threads must end by themselves before it can unload; false where the
// module joins them while it unloads.
FRAMEWORK_API bool ModuleThreadsEndBeforeUnload();

// One thread of a module. Move-only; must be joined or detached before it is destroyed, as a
// std::thread must.
class FRAMEWORK_API ModuleThread {
  public:
    // Work that must not throw, in the module that starts the thread: the thread holds that
    // module while it runs.
    using Entry = void (*)(void* context) noexcept;

    // Starts a thread running entry(context). Throws std::system_error when the system has no
    // thread to give.
    static ModuleThread Start(Entry entry, void* context);

    ModuleThread() = default;
    ModuleThread(ModuleThread&& other) noexcept;
    ModuleThread& operator=(ModuleThread&& other) noexcept;
    ModuleThread(const ModuleThread&) = delete;
    ModuleThread& operator=(const ModuleThread&) = delete;
    ~ModuleThread();

    bool Joinable() const { return handle_ != nullptr; }
    // Waits for the thread to end. Never from inside the loader's lock (at unload on Windows).
    void Join();
    // Lets the thread go on alone: nobody waits for its end. The thread may detach itself.
    void Detach() noexcept;

  private:
    explicit ModuleThread(void* handle) : handle_(handle) {}

    void* handle_ = nullptr;
};

}  // namespace framework
