#include "framework/platform/dynamic_library.h"

#include "framework/platform/dynamic_library_system.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace framework {

namespace {

std::string LastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "unknown reason";
}

}  // namespace

namespace platform {

void* OpenModule(const std::string& path) {
    dlerror();
    // RTLD_LOCAL: the module's symbols stay its own, as a Windows DLL's do.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        throw ModuleLoadError("cannot load module " + path + ": " + LastLoaderError());
    }
    return handle;
}

void CloseModule(void* handle) noexcept {
    dlclose(handle);
}

void* ModuleSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}

}  // namespace platform

bool ModuleIsLoaded(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        return false;
    }
    dlclose(handle);
    return true;
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
