#include "framework/platform/module_thread.h"

#include <exception>
#include <utility>

namespace framework {

ModuleThread::ModuleThread(ModuleThread&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

ModuleThread& ModuleThread::operator=(ModuleThread&& other) noexcept {
    if (this != &other) {
        if (Joinable()) {
            std::terminate();
        }
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

ModuleThread::~ModuleThread() {
    // A thread nobody joined nor let go: as with std::thread, a fault of the caller's.
    if (Joinable()) {
        std::terminate();
    }
}

}  // namespace framework
