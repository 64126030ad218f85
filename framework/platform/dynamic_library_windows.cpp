#include "framework/platform/dynamic_library.h"
#include "framework/platform/dynamic_library_system.h"

#include <filesystem>
#include <windows.h>

namespace framework {

namespace {

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length != 0 && text != nullptr ? std::string(text, length)
                                                         : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

HMODULE AsModule(void* handle) {
    return static_cast<HMODULE>(handle);
}

}  // namespace

namespace platform {

void* OpenModule(const std::string& path) {
    // No "cannot find the file" box from the system: a missing module is an error like any other.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    // From a full path, the DLLs the module imports are looked for beside it first, as the
    // module's own folder is searched on other systems.
    const DWORD search =
        std::filesystem::path(path).is_absolute() ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    HMODULE handle = LoadLibraryExA(path.c_str(), nullptr, search);
    const DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (handle == nullptr) {
        throw ModuleLoadError("cannot load module " + path + ": " + SystemMessage(error));
    }
    return handle;
}

void CloseModule(void* handle) noexcept {
    FreeLibrary(AsModule(handle));
}

void* ModuleSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(AsModule(handle), name));
}

}  // namespace platform

bool ModuleIsLoaded(const std::string& path) {
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(), &module);
}

std::string ProgramDirectory() {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) {
        return ".";
    }
    const std::string path(buffer, length);
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

std::string ModuleFileName(const std::string& name) {
    return name + ".dll";
}

}  // namespace framework
