// Loading and unloading the module as the host does: what is built, started, stopped and
// destroyed, in which order, and what the application object looks like while it is loaded. A
// module whose start-up fails is not loaded: the loader says why, the module's termination runs as
// far as its start-up got, and everything it built is destroyed again.

#include "framework/app.h"
#include "framework/platform/dynamic_library.h"
#include "framework/platform/module_version.h"
#include "framework/startup_trace.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using framework::DynamicLibrary;
using framework::FindApplication;
using framework::StartupTrace;
using ::testing::ThrowsMessage;
using Events = std::vector<std::string>;

// Under its own name and copied under another: the application takes its name from the file,
// the profile is the suite's whatever the file is called. A second load of the same file shares
// the first one's start-up, and only the last unload tears the module down.
TEST(ModuleStartup, BuildsInOrderStartsLastStopsFirstAndDestroysInReverse) {
    test::ScratchDirectory folder;
    std::filesystem::copy_file(TAVRIN21_MODULE_PATH, folder / "method_b.so");
    const struct {
        std::string file;
        const char* appName;
    } rows[] = {{TAVRIN21_MODULE_PATH, "tavrin21"},
                {(folder / "method_b.so").string(), "method_b"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        framework::ClearStartupTrace();
        DynamicLibrary module = DynamicLibrary::Load(row.file);
        DynamicLibrary again = DynamicLibrary::Load(row.file);
        EXPECT_EQ(StartupTrace(),
                  (Events{"build module state", "build theApp", "build SecurityEntries",
                          "build SecurityPermissionKinds", "build SecurityObjectCatalogue",
                          "FrameworkInit", "InitInstance"}));
        const framework::Application* app = FindApplication(row.appName);
        ASSERT_NE(app, nullptr);
        EXPECT_EQ(app->RegistryKey(), "Mirelda");
        EXPECT_EQ(app->ProfileName(), "Quorvant for Windows");
        // The same file, however the loader spells its path.
        EXPECT_TRUE(std::filesystem::equivalent(app->ModuleFile(), row.file)) << app->ModuleFile();

        again.Unload();
        EXPECT_EQ(FindApplication(row.appName), app);
        framework::ClearStartupTrace();
        module.Unload();
        EXPECT_EQ(StartupTrace(),
                  (Events{"ExitInstance", "FrameworkTerm", "destroy SecurityObjectCatalogue",
                          "destroy SecurityPermissionKinds", "destroy SecurityEntries",
                          "destroy theApp", "destroy module state"}));
        EXPECT_EQ(FindApplication(row.appName), nullptr);
    }
}

// The modules built to fail: InitInstance refuses or throws, or there is no application at all.
TEST(FailedStartup, FailsTheLoadSaysWhyAndUnloads) {
    const struct {
        const char* modulePath;
        std::string reason;
        bool hasApp;
    } rows[] = {
        {STARTUP_REFUSING_MODULE, "the application refused to start", true},
        {STARTUP_THROWING_MODULE, "the application's start-up threw: no licence for this test",
         true},
        {STARTUP_APPLESS_MODULE, "the module has no application object", false},
    };
    for (const auto& row : rows) {
        const std::string failed = "start-up failed: " + row.reason;
        const Events events =
            row.hasApp
                ? Events{"build module state",  "build theApp",  "FrameworkInit", "InitInstance",
                         "ExitInstance",        "FrameworkTerm", failed,          "destroy theApp",
                         "destroy module state"}
                : Events{"build module state", "FrameworkInit", "FrameworkTerm", failed,
                         "destroy module state"};
        // Twice: a module left loaded after the first failure would not be built again.
        for (int attempt = 0; attempt < 2; ++attempt) {
            SCOPED_TRACE(row.reason + ", attempt " + std::to_string(attempt));
            framework::ClearStartupTrace();
            EXPECT_THAT([&] { DynamicLibrary::Load(row.modulePath); },
                        ThrowsMessage<framework::ModuleLoadError>(
                            "cannot load module " + std::string(row.modulePath) +
                            ": its start-up failed: " + row.reason));
            EXPECT_EQ(StartupTrace(), events);
        }
    }
}

TEST(ModuleVersion, FileCarriesItsVersionBlock) {
    const auto version = framework::ReadModuleVersion(TAVRIN21_MODULE_PATH);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->fileVersion, (std::array<std::uint16_t, 4>{1, 0, 0, 1}));
    EXPECT_EQ(version->productVersion, version->fileVersion);
    EXPECT_EQ(version->strings,
              (std::map<std::string, std::string>{{"CompanyName", ""},
                                                  {"FileDescription", "tavrin21 DLL"},
                                                  {"FileVersion", "1, 0, 0, 1"},
                                                  {"InternalName", "tavrin21"},
                                                  {"LegalTrademarks", ""},
                                                  {"OriginalFilename", "tavrin21.DLL"},
                                                  {"ProductName", "tavrin21 Dynamic Link Library"},
                                                  {"ProductVersion", "1, 0, 0, 1"}}));
}

}  // namespace
}  // namespace tavrin21
