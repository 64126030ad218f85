#include "framework/platform/startup_report.h"

namespace framework::platform {

namespace {

// The innermost load in progress on this thread; dlopen runs the initialisers on the caller's.
thread_local PendingModuleStartup* innermostLoad = nullptr;

}  // namespace

PendingModuleStartup::PendingModuleStartup() : outer_(innermostLoad) {
    innermostLoad = this;
}

PendingModuleStartup::~PendingModuleStartup() {
    innermostLoad = outer_;
}

std::optional<std::string> PendingModuleStartup::Failure() const {
    return failure_;
}

void ReportModuleStartup(const std::string& failure) {
    if (innermostLoad == nullptr || failure.empty()) {
        return;
    }
    innermostLoad->failure_ = failure;
}

}  // namespace framework::platform
