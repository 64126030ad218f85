#include "framework/platform/windows_path.h"

#include <mutex>
#include <utility>

namespace framework {

// On Windows the module's paths are the system's own: they are used as they are, and a mapping,
// which only says where Windows paths lie on another system, is kept but never applied.

namespace {

struct MappingStore {
    std::mutex mutex;
    PathMapping mapping;
};

MappingStore& Store() {
    static MappingStore store;
    return store;
}

}  // namespace

PathMapping SetPathMapping(PathMapping mapping) {
    std::lock_guard lock(Store().mutex);
    return std::exchange(Store().mapping, std::move(mapping));
}

PathMapping CurrentPathMapping() {
    std::lock_guard lock(Store().mutex);
    return Store().mapping;
}

std::filesystem::path HostPath(std::string_view windowsPath) {
    return std::filesystem::path(std::string(windowsPath));
}

}  // namespace framework
