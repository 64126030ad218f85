#include "framework/platform/usable_processors.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>

#if defined(__linux__)
#include <sched.h>
#endif

namespace framework {
namespace {

#if defined(__linux__)

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// A version-2 control group's quota: its cpu.max holds "quota period".
int QuotaOfGroup(const std::string& directory) {
    const std::string line = FirstLine(directory + "/cpu.max");
    const auto space = line.find(' ');
    return space == std::string::npos ? 0
                                      : QuotaProcessors(std::string_view(line).substr(0, space),
                                                        std::string_view(line).substr(space + 1));
}

// A version-1 control group's quota, in two files.
int QuotaOfVersion1Group(const std::string& directory) {
    return QuotaProcessors(FirstLine(directory + "/cpu.cfs_quota_us"),
                           FirstLine(directory + "/cpu.cfs_period_us"));
}

// The smaller of two quotas, 0 being none.
int SmallerQuota(int a, int b) {
    return a == 0 ? b : b == 0 ? a : std::min(a, b);
}

// The smallest of the quotas from the process's group up to the hierarchy's root, or 0. Inside a
// container the path may be the host's while the container's own group is mounted as the root:
// directories that are not there have no quota to give.
int SmallestQuotaUpward(const std::string& root,
                        std::string path,
                        int (*quotaOf)(const std::string&)) {
    int smallest = 0;
    for (;;) {
        smallest = SmallerQuota(smallest, quotaOf(root + (path == "/" ? "" : path)));
        const auto slash = path.rfind('/');
        if (slash == std::string::npos || path == "/") {
            return smallest;
        }
        path.erase(std::max<std::size_t>(slash, 1));
    }
}

bool ListsCpuController(std::string_view controllers) {
    for (std::size_t start = 0; start <= controllers.size();) {
        const std::size_t comma = std::min(controllers.find(',', start), controllers.size());
        if (controllers.substr(start, comma - start) == "cpu") {
            return true;
        }
        start = comma + 1;
    }
    return false;
}

// The whole processors the quotas of the process's control groups pay for, or 0. Each line of
// /proc/self/cgroup is "hierarchy:controllers:path"; version 2's has no controllers.
int ControlGroupQuota() {
    std::ifstream groups("/proc/self/cgroup");
    int smallest = 0;
    for (std::string line; std::getline(groups, line);) {
        const auto first = line.find(':');
        const auto second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos) {
            continue;
        }
        const std::string_view controllers =
            std::string_view(line).substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        const int quota =
            controllers.empty() ? SmallestQuotaUpward("/sys/fs/cgroup", path, QuotaOfGroup)
            : ListsCpuController(controllers)
                ? SmallestQuotaUpward("/sys/fs/cgroup/cpu", path, QuotaOfVersion1Group)
                : 0;
        smallest = SmallerQuota(smallest, quota);
    }
    return smallest;
}

int AffinityProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
}

#endif

}  // namespace

int UsableProcessors() {
    const unsigned hardware = std::thread::hardware_concurrency();
    int processors = hardware < 1 ? 1 : static_cast<int>(std::min(hardware, 1'000'000u));
#if defined(__linux__)
    if (const int affinity = AffinityProcessors(); affinity > 0) {
        processors = affinity;
    }
    if (const int quota = ControlGroupQuota(); quota > 0) {
        processors = std::min(processors, quota);
    }
#endif
    return processors;
}

}  // namespace framework
