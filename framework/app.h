#pragma once

// The application object of a module: its name, where its settings are kept, and the two
// moments the framework hands it, start-up and exit. A module defines exactly one, at namespace
// scope, and derives from this class to run code of its own at those moments.

#include "framework/platform/export.h"

#include <string>
#include <string_view>

namespace framework {

class FRAMEWORK_API Application {
  public:
    // Without a name, the framework's start-up names the application after the module's file,
    // without folder or extension.
    explicit Application(const char* appName = nullptr);
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs once the module is loaded; false makes the load fail. The base accepts.
    virtual bool InitInstance();
    // Runs before the module is unloaded, and after an InitInstance that refused. Returns the
    // exit code; the base returns 0.
    virtual int ExitInstance();

    // Keeps the application's settings under the registry key `registryKey`, in a profile
    // named after the application.
    void SetRegistryKey(std::string_view registryKey);
    // Replaces the name of the profile that holds the settings.
    void SetProfileName(std::string_view profileName);

    const std::string& AppName() const { return appName_; }
    const std::string& RegistryKey() const { return registryKey_; }
    const std::string& ProfileName() const { return profileName_; }
    // The module's file and the command line it was started with, as the start-up gave them.
    const std::string& ModuleFile() const { return moduleFile_; }
    const std::string& CommandLine() const { return commandLine_; }

  private:
    friend FRAMEWORK_API bool FrameworkInit(Application* application,
                                            const std::string& moduleFile,
                                            const std::string& commandLine);

    std::string appName_;
    std::string registryKey_;
    std::string profileName_;
    std::string moduleFile_;
    std::string commandLine_;
};

// The framework's start-up for a module's application (framework/startup.h). Declared after
// the class: a DLL import declared before it would clash with the friend declaration.
FRAMEWORK_API bool FrameworkInit(Application* application,
                                 const std::string& moduleFile,
                                 const std::string& commandLine);

// The application object named `appName` among those alive in the process, or nullptr. An
// application has a name once it was built with one or has been through start-up.
FRAMEWORK_API Application* FindApplication(std::string_view appName);

}  // namespace framework
