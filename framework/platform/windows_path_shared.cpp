#include "framework/platform/windows_path.h"

#include <mutex>
#include <utility>

namespace framework {

// The mapping is kept on every system; only systems other than Windows apply it (HostPath).

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

}  // namespace framework
