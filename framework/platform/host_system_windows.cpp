#include "framework/platform/host_system.h"

namespace framework {

bool HostIsWindows() {
    return true;
}

bool ModuleMayKeepThreads() {
    return false;
}

}  // namespace framework
