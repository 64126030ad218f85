#include "framework/platform/module_thread.h"

#include <thread>
#include <utility>

namespace framework {

// The module joins its threads when it unloads (ELF systems run its termination outside any
// lock a thread needs), so a thread need not hold the module.
bool ModuleThreadsEndBeforeUnload() {
    return false;
}

ModuleThread ModuleThread::Start(Entry entry, void* context) {
    return ModuleThread(new std::thread(entry, context));
}

void ModuleThread::Join() {
    auto* thread = static_cast<std::thread*>(handle_);
    thread->join();
    delete thread;
    handle_ = nullptr;
}

void ModuleThread::Detach() noexcept {
    auto* thread = static_cast<std::thread*>(std::exchange(handle_, nullptr));
    thread->detach();
    delete thread;
}

}  // namespace framework
