#include "framework/startup_trace.h"

#include <mutex>

namespace framework {

namespace {

// A host that loads and unloads modules for days must not grow the record without bound.
constexpr std::size_t kMaxEvents = 4096;

struct Trace {
    std::mutex mutex;
    std::vector<std::string> events;
};

Trace& TheTrace() {
    static Trace trace;
    return trace;
}

}  // namespace

void TraceStartupEvent(const std::string& event) noexcept {
    try {
        Trace& trace = TheTrace();
        std::lock_guard lock(trace.mutex);
        if (trace.events.size() >= kMaxEvents) {
            trace.events.erase(trace.events.begin(), trace.events.begin() + kMaxEvents / 2);
        }
        trace.events.push_back(event);
    } catch (...) {
        // Out of memory: the event is lost, the load goes on.
    }
}

std::vector<std::string> StartupTrace() {
    Trace& trace = TheTrace();
    std::lock_guard lock(trace.mutex);
    return trace.events;
}

void ClearStartupTrace() {
    Trace& trace = TheTrace();
    std::lock_guard lock(trace.mutex);
    trace.events.clear();
}

}  // namespace framework
