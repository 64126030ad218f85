#pragma once

// How many processors this process may keep busy at once: fewer than the machine has where the
// process is held to some of them (an affinity mask: taskset, a container's CPU set) or to a
// share of their time (a control group's CPU quota: a container's CPU limit). Work split among
// more threads than that runs slower than on fewer, each waiting for the others' turns.

#include "framework/platform/export.h"

#include <string_view>

namespace framework {

// At least 1.
FRAMEWORK_API int UsableProcessors();

// The whole processors a control group's CPU quota pays for: quota / period microseconds,
// rounded down (a thread the quota pays only part of stalls the process once the quota is
// spent), at least 1; 0 where the quota is unlimited ("max" or "-1") or the texts are not one.
FRAMEWORK_API int QuotaProcessors(std::string_view quota, std::string_view period);

}  // namespace framework
