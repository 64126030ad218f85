#include "framework/platform/module_file.h"

#include <windows.h>

namespace framework::platform {

std::string ModuleFileContaining(const void* address) {
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, static_cast<const char*>(address), &module)) {
        return {};
    }
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) {
        return {};
    }
    return std::string(buffer, length);
}

}  // namespace framework::platform
