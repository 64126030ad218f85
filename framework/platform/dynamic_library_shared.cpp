#include "framework/platform/dynamic_library.h"
#include "framework/platform/dynamic_library_system.h"
#include "framework/platform/startup_report.h"

#include <optional>
#include <utility>

namespace framework {

DynamicLibrary DynamicLibrary::Load(const std::string& path) {
    platform::PendingModuleStartup startup;
    void* handle = platform::OpenModule(path);
    // The module's start-up ran inside the loader; a module that refused to start is unloaded.
    if (const std::optional<std::string> failure = startup.Failure()) {
        platform::CloseModule(handle);
        throw ModuleLoadError("cannot load module " + path + ": its start-up failed: " + *failure);
    }
    return DynamicLibrary(handle, path);
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

DynamicLibrary::~DynamicLibrary() {
    Unload();
}

void DynamicLibrary::Unload() noexcept {
    if (handle_ != nullptr) {
        platform::CloseModule(std::exchange(handle_, nullptr));
    }
}

void* DynamicLibrary::FindSymbol(const char* name) const {
    return handle_ != nullptr ? platform::ModuleSymbol(handle_, name) : nullptr;
}

void* DynamicLibrary::RequireSymbol(const char* name) const {
    void* symbol = FindSymbol(name);
    if (symbol == nullptr) {
        throw ModuleLoadError("module " + path_ + " does not export " + name);
    }
    return symbol;
}

}  // namespace framework
