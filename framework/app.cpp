#include "framework/app.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace framework {

namespace {

// Every application object alive in the process; each module's registers itself as it is built.
struct Registry {
    std::mutex mutex;
    std::vector<Application*> applications;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

Application::Application(const char* appName) : appName_(appName != nullptr ? appName : "") {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.applications.push_back(this);
}

Application::~Application() {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    std::erase(registry.applications, this);
}

bool Application::InitInstance() {
    return true;
}

int Application::ExitInstance() {
    return 0;
}

void Application::SetRegistryKey(std::string_view registryKey) {
    registryKey_ = registryKey;
    profileName_ = appName_;
}

void Application::SetProfileName(std::string_view profileName) {
    profileName_ = profileName;
}

Application* FindApplication(std::string_view appName) {
    if (appName.empty()) {
        return nullptr;
    }
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto found = std::find_if(
        registry.applications.begin(), registry.applications.end(),
        [&](const Application* application) { return application->AppName() == appName; });
    return found != registry.applications.end() ? *found : nullptr;
}

}  // namespace framework
