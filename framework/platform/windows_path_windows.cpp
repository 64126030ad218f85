#include "framework/platform/windows_path.h"

namespace framework {

// On Windows the module's paths are the system's own: they are used as they are.
std::filesystem::path HostPath(std::string_view windowsPath) {
    return std::filesystem::path(std::string(windowsPath));
}

}  // namespace framework
