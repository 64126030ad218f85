#include "framework/platform/dynamic_library.h"

#include "framework/platform/startup_report.h"

#include <dlfcn.h>
#include <optional>
#include <unistd.h>
#include <utility>

#include <climits>

namespace framework {

namespace {

std::string LastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "unknown reason";
}

}  // namespace

DynamicLibrary DynamicLibrary::Load(const std::string& path) {
    dlerror();
    platform::PendingModuleStartup startup;
    // RTLD_LOCAL: the module's symbols stay its own, as a Windows DLL's do.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        throw ModuleLoadError("cannot load module " + path + ": " + LastLoaderError());
    }
    // The module's start-up ran inside dlopen; a module that refused to start is unloaded again.
    if (const std::optional<std::string> failure = startup.Failure()) {
        dlclose(handle);
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
        dlclose(handle_);
        handle_ = nullptr;
    }
}

void* DynamicLibrary::FindSymbol(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return dlsym(handle_, name);
}

void* DynamicLibrary::RequireSymbol(const char* name) const {
    void* symbol = FindSymbol(name);
    if (symbol == nullptr) {
        throw ModuleLoadError("module " + path_ + " does not export " + name);
    }
    return symbol;
}

std::string ProgramDirectory() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return ".";
    }
    std::string path(buffer, static_cast<std::size_t>(length));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string ModuleFileName(const std::string& name) {
    return name + ".so";
}

}  // namespace framework
