#include "framework/platform/usable_processors.h"

#include <bit>
#include <thread>
#include <windows.h>

namespace framework {

// The processors of the process's affinity mask. Windows' CPU rate limits of job objects are not
// counted.
int UsableProcessors() {
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) &&
        processMask != 0) {
        return std::popcount(processMask);
    }
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware < 1 ? 1 : static_cast<int>(hardware);
}

}  // namespace framework
