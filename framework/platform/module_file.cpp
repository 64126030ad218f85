#include "framework/platform/module_file.h"

#include <dlfcn.h>

namespace framework::platform {

std::string ModuleFileContaining(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return info.dli_fname;
}

}  // namespace framework::platform
