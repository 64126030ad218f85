#include "framework/startup.h"

#include "framework/platform/module_file.h"
#include "framework/platform/startup_report.h"
#include "framework/startup_trace.h"

#include <exception>
#include <filesystem>

namespace framework {

bool FrameworkInit(Application* application,
                   const std::string& moduleFile,
                   const std::string& commandLine) {
    TraceStartupEvent("FrameworkInit");
    if (application == nullptr || moduleFile.empty()) {
        return false;
    }
    application->moduleFile_ = moduleFile;
    application->commandLine_ = commandLine;
    if (application->appName_.empty()) {
        application->appName_ = std::filesystem::path(moduleFile).stem().string();
    }
    return true;
}

void FrameworkTerm() {
    TraceStartupEvent("FrameworkTerm");
}

ModuleEntry::ModuleEntry(ModuleState& state, Application* application) noexcept
    : state_(state), application_(application) {
    ModuleStateGuard guard(&state_);
    std::string failure;
    try {
        failure = Start();
    } catch (...) {
        failure = "the module's start-up failed";
    }
    if (!failure.empty()) {
        TraceStartupEvent("start-up failed: " + failure);
    }
    try {
        platform::ReportModuleStartup(failure);
    } catch (...) {
        // Nowhere left to say it; the module stays loaded without its application started.
    }
}

ModuleEntry::~ModuleEntry() {
    if (!started_) {
        return;
    }
    ModuleStateGuard guard(&state_);
    Stop();
}

std::string ModuleEntry::Start() {
    // The entry object lies in the module's own image, so its address names the module's file.
    if (!FrameworkInit(application_, platform::ModuleFileContaining(this), "")) {
        FrameworkTerm();
        return application_ == nullptr ? "the module has no application object"
                                       : "the module's file is unknown";
    }
    std::string failure;
    try {
        TraceStartupEvent("InitInstance");
        if (application_->InitInstance()) {
            started_ = true;
            return {};
        }
        failure = "the application refused to start";
    } catch (const std::exception& error) {
        failure = std::string("the application's start-up threw: ") + error.what();
    } catch (...) {
        failure = "the application's start-up threw";
    }
    Stop();
    return failure;
}

void ModuleEntry::Stop() noexcept {
    try {
        TraceStartupEvent("ExitInstance");
        application_->ExitInstance();
    } catch (...) {
        // The module goes away regardless; its termination must still run.
    }
    FrameworkTerm();
}

}  // namespace framework
