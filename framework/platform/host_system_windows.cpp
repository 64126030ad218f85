#include "framework/platform/host_system.h"

namespace framework {

bool HostIsWindows() {
    return true;
}

}  // namespace framework
